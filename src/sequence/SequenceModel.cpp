#include "sequence/SequenceModel.h"

#include <algorithm>

#include "common/DisplayInterval.h"
#include "common/LeadingNumber.h"
#include "sequence/VirguleEnPoint.h"
#include "storage/FichIni.h"
#include "storage/SequenceFile.h"
#include "storage/SequenceLayout.h"

namespace {

constexpr int16_t kHighestNumber = INT16_MAX;

const std::string kSection(kSequenceSection);

}  // namespace

SequenceModel::SequenceModel(std::string workingFile) : workingFile_(std::move(workingFile)) {}

std::string SequenceModel::record(int16_t number) const {
    return LireIni(kSection, recordKey(number), workingFile_);
}

// A count below 0 in a pupil's file means no character at all.
int16_t SequenceModel::countInFile() const {
    const int16_t count =
        roundToInt16(leadingNumber(LireIni(kSection, std::string(kCountKey), workingFile_)));
    return std::max<int16_t>(count, 0);
}

int16_t SequenceModel::openPosition() const {
    return stored_ < kHighestNumber ? static_cast<int16_t>(stored_ + 1) : kHighestNumber;
}

Step SequenceModel::show(int16_t number, std::string shownRecord) {
    shown_ = number;
    return {Step::Moved, number, std::move(shownRecord), {}};
}

Step SequenceModel::restart() {
    deleteFileIfPresent(workingFile_);
    stored_ = countInFile();
    current_ = 1;
    return show(1, std::string(kBlankRecord));
}

Step SequenceModel::loaded() {
    stored_ = countInFile();
    current_ = 1;
    return show(1, record(1));
}

void SequenceModel::downloaded(int16_t storedCount) {
    stored_ = std::max<int16_t>(storedCount, 0);
}

Step SequenceModel::validate(const std::array<int16_t, kRowCount>& rows, std::string durationText) {
    // What the pupil sees is what gets stored and moved from, unless the preview drives the
    // numbers.
    if (!playing_) {
        current_ = shown_;
    }
    const int16_t number = shown_;
    if (number >= kHighestNumber || current_ >= kHighestNumber) {
        return {Step::AtEnd, shown_, {}, {}};
    }
    // Editing an earlier character leaves "Nombre" as it is; only the open position adds one.
    const int16_t count = std::max(countInFile(), number);
    const SystemError error =
        EcrireIni(kSection,
                  {{std::string(kCountKey), std::to_string(count)},
                   {recordKey(number), formatRecord(rows, VirguleEnPoint(durationText))}},
                  workingFile_);
    if (error.failed()) {
        return {Step::NotStored, shown_, {}, error};
    }
    stored_ = count;
    current_ = std::min(static_cast<int16_t>(current_ + 1), openPosition());
    std::string nextRecord = record(current_);
    return show(current_, nextRecord.empty() ? std::string(kBlankRecord) : std::move(nextRecord));
}

Step SequenceModel::previous() {
    if (!playing_) {
        current_ = shown_;
    }
    if (current_ <= 1) {
        current_ = 1;
        return {Step::AtEnd, shown_, {}, {}};
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
        return {Step::AtEnd, shown_, {}, {}};
    }
    ++current_;
    return show(current_, record(current_));
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
