#include "sequence/SequenceModel.h"

#include <algorithm>
#include <cerrno>

#include "common/DisplayInterval.h"
#include "common/LeadingNumber.h"
#include "common/ModuleLimits.h"
#include "common/Utf8.h"
#include "sequence/TextFont.h"
#include "sequence/VirguleEnPoint.h"
#include "storage/FichIni.h"
#include "storage/FileAccess.h"
#include "storage/SequenceFile.h"
#include "storage/SequenceLayout.h"
#include "storage/SequenceRecords.h"

namespace {

constexpr int16_t kHighestNumber = INT16_MAX;

const std::string kSection(kSequenceSection);

std::string quoted(const std::string& text) {
    return "« " + readableText(text) + " »";
}

// Why the duration stored from the text `typed` cannot be stored, or nothing when it can.
std::optional<std::string> durationRefusal(const std::string& duration, std::string typed) {
    typed.erase(0, typed.find_first_not_of(' '));
    typed.erase(typed.find_last_not_of(' ') + 1);
    std::string reason;
    switch (durationFault(duration)) {
        case DurationFault::None:
            if (duration.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {
                return std::nullopt;
            }
            reason = "la durée tient sur plusieurs lignes";
            break;
        case DurationFault::Empty:
            reason = "aucune durée n'est tapée";
            break;
        case DurationFault::Unreadable:
            reason = "la durée " + quoted(typed) + " n'est pas un nombre";
            break;
        case DurationFault::NotPositive:
            reason = "la durée " + quoted(typed) + " n'est pas plus grande que 0";
            break;
        case DurationFault::TooLong:
            reason = "l'afficheur ne sait pas attendre " + quoted(typed) + " secondes";
            break;
    }
    return reason + ".\r\n" + durationAdvice() + ".";
}

Step refused(std::string message) {
    Step step;
    step.kind = Step::Refused;
    step.message = std::move(message);
    return step;
}

Step atEnd(int16_t shown) {
    return {Step::AtEnd, shown, {}, {}, {}};
}

}  // namespace

SequenceModel::SequenceModel(std::string workingFile) : workingFile_(std::move(workingFile)) {}

std::string SequenceModel::record(int16_t number) const {
    if (number >= 1 && number <= stored_) {
        return records_[static_cast<size_t>(number - 1)];
    }
    // Beyond "Nombre" a file may still hold a record, which the open position shows.
    return content_ ? iniValueOf(*content_, kSection, recordKey(number)) : std::string();
}

int16_t SequenceModel::openPosition() const {
    return stored_ < kHighestNumber ? static_cast<int16_t>(stored_ + 1) : kHighestNumber;
}

bool SequenceModel::modified() const {
    return stored_ > 0 && content_ != saved_;
}

Step SequenceModel::show(int16_t number, std::string shownRecord) {
    shown_ = number;
    return {Step::Moved, number, std::move(shownRecord), {}, {}};
}

// After an edit the open position shows the blank record a pupil starts from.
Step SequenceModel::showStored(int16_t number) {
    number = std::clamp<int16_t>(number, 1, openPosition());
    std::string shownRecord = record(number);
    if (shownRecord.empty() && number == openPosition()) {
        shownRecord = kBlankRecord;
    }
    if (!playing_) {
        current_ = number;
    }
    return show(number, std::move(shownRecord));
}

Step SequenceModel::notStored(const SystemError& error, std::string_view what) const {
    Step step{Step::NotStored, shown_, {}, error, {}};
    step.message = std::string(what) + "\r\n" + frenchDescription(error) +
                   ".\r\nLa séquence est restée comme elle était.";
    return step;
}

void SequenceModel::take(const Content& content) {
    content_ = content;
    if (!content) {
        stored_ = 0;
        records_.clear();
        return;
    }
    // A count below 0 or beyond 16 bits means no character at all (Load refuses such files).
    stored_ = std::max<int16_t>(
        roundToInt16(leadingNumber(iniValueOf(*content, kSection, std::string(kCountKey)))), 0);
    records_ = sequenceRecordsOf(*content, stored_);
}

SystemError SequenceModel::store(const Content& content) {
    if (content) {
        if (const int error = writeFileAtomically(workingFile_, *content, FileSync::CacheOnly);
            error != 0) {
            return {workingFile_, error};
        }
    } else if (const FileOpResult deleted = deleteFileIfPresent(workingFile_); !deleted.ok()) {
        return deleted.error;
    }
    take(content);
    return {};
}

Step SequenceModel::change(Content content, int16_t shownAfter, std::string_view what) {
    // Written even when unchanged: the file is what the download reads.
    const bool same = content == content_ || (content && content_ && *content == *content_);
    Change done{content_, content, shown_, shownAfter};
    if (const SystemError error = store(same ? content_ : content); error.failed()) {
        return notStored(error, what);
    }
    if (!same) {
        undo_.push_back(std::move(done));
        redo_.clear();
        forgetOldestChanges();
    }
    return showStored(shownAfter);
}

void SequenceModel::forgetOldestChanges() {
    size_t bytes = 0;
    for (const Change& kept : undo_) {
        bytes += kept.after ? kept.after->size() : 0;
    }
    while (undo_.size() > kUndoDepth || (undo_.size() > 1 && bytes > kUndoBytes)) {
        bytes -= undo_.front().after ? undo_.front().after->size() : 0;
        undo_.pop_front();
    }
}

Step SequenceModel::rewrite(const std::vector<std::string>& records, int16_t shownAfter) {
    return change(std::make_shared<const std::string>(sequenceFileBytes(records)), shownAfter,
                  "La séquence n'a pas pu être modifiée.");
}

Step SequenceModel::restart() {
    undo_.clear();
    redo_.clear();
    current_ = 1;
    const FileOpResult deleted = deleteFileIfPresent(workingFile_);
    if (deleted.ok()) {
        take(nullptr);
        saved_ = nullptr;
        return show(1, std::string(kBlankRecord));
    }
    std::string bytes;
    take(readRegularFile(workingFile_, bytes, kLargestSequenceFile) == 0
             ? std::make_shared<const std::string>(std::move(bytes))
             : nullptr);
    saved_ = content_;
    Step step = showStored(1);
    step.message = "La séquence laissée par la séance précédente n'a pas pu être effacée.\r\n" +
                   frenchDescription(deleted.error) +
                   ".\r\nSes caractères sont repris ici ; préviens ton professeur.";
    return step;
}

Step SequenceModel::newSequence() {
    Step step = change(nullptr, 1, "La séquence n'a pas pu être effacée pour en commencer une.");
    if (step.kind == Step::Moved) {
        current_ = 1;
    }
    return step;
}

Step SequenceModel::load(const std::string& path) {
    if (path.empty()) {
        return refused("Pas de fichier à ouvrir !!!");
    }
    std::string bytes;
    if (const int error = readRegularFile(path, bytes, kLargestSequenceFile); error == EFBIG) {
        return refused("Le fichier " + quoted(path) +
                       " est trop gros pour être une séquence de caractères (plus de 1 Mo).\r\n"
                       "Rien n'a été chargé.");
    } else if (error != 0) {
        return notStored({path, error}, "La séquence n'a pas pu être chargée.");
    }
    const std::string nombre = iniValueOf(bytes, kSection, std::string(kCountKey));
    if (!storedCountOf(nombre)) {
        return refused("Le fichier " + quoted(path) + " annonce " + quoted("Nombre=" + nombre) +
                       " : une séquence compte de 0 à 32767 caractères.\r\nRien n'a été chargé.");
    }
    Step step = change(std::make_shared<const std::string>(std::move(bytes)), 1,
                       "La séquence n'a pas pu être chargée.");
    if (step.kind == Step::Moved) {
        saved_ = content_;
        current_ = 1;
        step.record = record(1);  // as the file holds it, even empty
    }
    return step;
}

std::string SequenceModel::save(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    removeStaleTemporaries(folderOf(path), kSequenceExtension, kStaleTemporarySeconds);
    if (!content_) {
        return "Il n'y a rien à sauver : aucun caractère n'a été validé depuis le début ou depuis "
               "« Nouveau ».";
    }
    // The bytes the model holds are the working file's, so the sequence on screen is saved even
    // when something outside removed or spoiled that file.
    if (const int error = writeFileAtomically(path, *content_); error != 0) {
        return "La séquence n'a pas pu être sauvée.\r\n" + frenchDescription({path, error}) + ".";
    }
    saved_ = content_;
    return {};
}

void SequenceModel::downloaded(int16_t storedCount) {
    stored_ = std::clamp<int16_t>(storedCount, 0, static_cast<int16_t>(records_.size()));
}

Step SequenceModel::validate(const std::array<int16_t, kRowCount>& rows, std::string durationText) {
    // What the pupil sees is what gets stored and moved from, unless the preview drives the
    // numbers.
    if (!playing_) {
        current_ = shown_;
    }
    const int16_t number = shown_;
    if (number >= kHighestNumber || current_ >= kHighestNumber) {
        return atEnd(shown_);
    }
    const std::string typed = durationText;
    const std::string duration = VirguleEnPoint(durationText);
    if (const auto refusal = durationRefusal(duration, typed)) {
        return refused("Ce caractère n'a pas été validé : " + *refusal);
    }
    // Editing an earlier character leaves "Nombre" as it is; only the open position adds one.
    const int16_t count = std::max(stored_, number);
    std::optional<std::string> bytes = content_ ? *content_ : std::string();
    bytes = withIniValue(*bytes, kSection, std::string(kCountKey), std::to_string(count));
    if (bytes) {
        bytes = withIniValue(*bytes, kSection, recordKey(number), formatRecord(rows, duration));
    }
    if (!bytes) {
        return notStored({workingFile_, EINVAL}, "Ce caractère n'a pas pu être enregistré.");
    }
    const auto next =
        static_cast<int16_t>(std::min(current_ + 1, count < kHighestNumber ? count + 1 : +count));
    Step step = change(std::make_shared<const std::string>(std::move(*bytes)), next,
                       "Ce caractère n'a pas pu être enregistré dans la séquence.");
    if (step.kind == Step::NotStored) {
        step.message = notStoredMessage(step.error);
        return step;
    }
    current_ = next;
    if (step.record.empty()) {
        step.record = kBlankRecord;
    }
    return step;
}

Step SequenceModel::previous() {
    if (!playing_) {
        current_ = shown_;
    }
    if (current_ <= 1) {
        current_ = 1;
        return atEnd(shown_);
    }
    --current_;
    return show(current_, record(current_));
}

Step SequenceModel::next() {
    if (!playing_) {
        current_ = shown_;
    }
    if (current_ >= openPosition()) {
        current_ = openPosition();
        return atEnd(shown_);
    }
    ++current_;
    return show(current_, record(current_));
}

Step SequenceModel::showNumber(int16_t number) {
    if (number < 1 || number > openPosition()) {
        return atEnd(shown_);
    }
    current_ = number;
    return show(number, record(number));
}

Step SequenceModel::insertBlank() {
    const int16_t at = std::clamp<int16_t>(shown_, 1, openPosition());
    if (stored_ >= kHighestNumber) {
        return atEnd(shown_);
    }
    std::vector<std::string> records = records_;
    records.insert(records.begin() + (at - 1), std::string(kBlankRecord));
    return rewrite(records, at);
}

Step SequenceModel::deleteShown() {
    const int16_t at = shown_;
    if (at < 1 || at > stored_) {
        return atEnd(shown_);
    }
    std::vector<std::string> records = records_;
    records.erase(records.begin() + (at - 1));
    return rewrite(records, at);
}

Step SequenceModel::duplicateShown() {
    const int16_t at = shown_;
    if (at < 1 || at > stored_ || stored_ >= kHighestNumber) {
        return atEnd(shown_);
    }
    std::vector<std::string> records = records_;
    records.insert(records.begin() + at, records[static_cast<size_t>(at - 1)]);
    return rewrite(records, static_cast<int16_t>(at + 1));
}

Step SequenceModel::moveShown(int delta) {
    return move(shown_, static_cast<int16_t>(std::clamp(shown_ + delta, 0, int{kHighestNumber})));
}

Step SequenceModel::move(int16_t from, int16_t to) {
    if (from < 1 || from > stored_ || to < 1 || to > stored_ || from == to) {
        return atEnd(shown_);
    }
    std::vector<std::string> records = records_;
    const auto first = records.begin();
    if (from < to) {
        std::rotate(first + (from - 1), first + from, first + to);
    } else {
        std::rotate(first + (to - 1), first + (from - 1), first + from);
    }
    return rewrite(records, to);
}

Step SequenceModel::appendText(std::string_view text, std::string durationText) {
    const std::string typed = durationText;
    const std::string duration = VirguleEnPoint(durationText);
    if (const auto refusal = durationRefusal(duration, typed)) {
        return refused("Le texte n'a pas été écrit : " + *refusal);
    }
    const TextGlyphs letters = glyphsOfText(text);
    if (!letters.unknown.empty()) {
        return refused(
            "Le texte n'a pas été écrit : ces signes n'ont pas de dessin dans "
            "l'afficheur : " +
            quoted(letters.unknown) + ".\r\nEnlève-les ou remplace-les.");
    }
    if (letters.glyphs.empty()) {
        return refused("Le texte n'a pas été écrit : il est vide.");
    }
    if (letters.glyphs.size() > static_cast<size_t>(kHighestNumber - stored_)) {
        return refused("Le texte n'a pas été écrit : la séquence dépasserait 32767 caractères.");
    }
    std::vector<std::string> records = records_;
    for (const Glyph& glyph : letters.glyphs) {
        records.push_back(formatRecord(glyph, duration));
    }
    return rewrite(records, static_cast<int16_t>(stored_ + 1));
}

Step SequenceModel::restore(const Content& content, int16_t shown) {
    if (const SystemError error = store(content); error.failed()) {
        return notStored(error, "La séquence n'a pas pu être remise comme elle était.");
    }
    return showStored(shown);
}

Step SequenceModel::replay(std::deque<Change>& from, std::deque<Change>& to, bool back) {
    if (from.empty()) {
        return atEnd(shown_);
    }
    const Change done = from.back();
    Step step =
        back ? restore(done.before, done.shownBefore) : restore(done.after, done.shownAfter);
    if (step.kind == Step::Moved) {
        from.pop_back();
        to.push_back(done);
    }
    return step;
}

Step SequenceModel::undo() {
    return replay(undo_, redo_, true);
}

Step SequenceModel::redo() {
    return replay(redo_, undo_, false);
}

PreviewChange SequenceModel::togglePreview(std::string durationText) {
    playing_ = !playing_;
    if (!playing_) {
        return {false, 0};
    }
    current_ = 1;
    // A pupil types "0,5": read it as a validation would store it, not as 0.
    return {true, intervalOfDuration(VirguleEnPoint(durationText))};
}

Tick SequenceModel::tick() {
    // Moves made during the preview may have left the open position or beyond as the next one.
    if (current_ < 1 || current_ > stored_) {
        current_ = 1;
    }
    shown_ = current_;
    std::string shownRecord = record(current_);
    current_ = current_ >= stored_ ? int16_t{1} : static_cast<int16_t>(current_ + 1);
    const int32_t interval = playing_ ? intervalOfDuration(splitRecord(shownRecord).rest) : 0;
    return {shown_, std::move(shownRecord), interval};
}

std::string notStoredMessage(const SystemError& error) {
    return "Ce caractère n'a pas pu être enregistré dans la séquence.\r\n" +
           frenchDescription(error) +
           ".\r\nIl est toujours affiché : valide-le à nouveau, et préviens ton professeur si "
           "cela recommence.";
}
