#include "storage/SequenceRecords.h"

#include "common/Windows1252.h"
#include "storage/FichIni.h"
#include "storage/IniEncoding.h"
#include "storage/IniText.h"
#include "storage/SequenceLayout.h"

namespace {

// The number n of a key named "Caractère<n>" exactly as recordKey writes it (no sign, no
// leading zero), or 0.
int recordNumberOf(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || !sameIniName(name.substr(0, prefix.size()), prefix)) {
        return 0;
    }
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 5 || digits.front() == '0') {
        return 0;
    }
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

}  // namespace

std::vector<std::string> sequenceRecordsOf(std::string_view fileBytes, int16_t count) {
    std::vector<std::string> records(static_cast<size_t>(std::max<int16_t>(count, 0)));
    std::vector<bool> seen(records.size());
    const IniEncoding encoding = detectIniEncoding(fileBytes);
    const std::string_view body =
        encoding == IniEncoding::Utf8WithBom ? fileBytes.substr(kUtf8Bom.size()) : fileBytes;
    const std::string prefix = textToFile(kRecordKeyPrefix, encoding);
    for (const IniKey& key : iniSectionKeys(body, textToFile(kSequenceSection, encoding))) {
        const int number = recordNumberOf(key.name, prefix);
        if (number < 1 || static_cast<size_t>(number) > records.size() || seen[number - 1]) {
            continue;  // only the first key of a name counts
        }
        seen[number - 1] = true;
        records[number - 1] = valueFromFile(key.value, encoding, kIniValueMaxLength);
    }
    return records;
}

std::string sequenceFileBytes(const std::vector<std::string>& records) {
    std::string text = "[" + std::string(kSequenceSection) + "]\r\n" + std::string(kCountKey) +
                       "=" + std::to_string(records.size()) + "\r\n";
    for (size_t n = 1; n <= records.size(); ++n) {
        text.append(recordKey(static_cast<int>(n)))
            .append("=")
            .append(records[n - 1])
            .append("\r\n");
    }
    return utf8ToAnsi(text);
}
