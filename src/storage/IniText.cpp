#include "storage/IniText.h"

namespace {

struct Line {
    size_t begin = 0;
    size_t contentEnd = 0;  // where the line end starts
    size_t end = 0;         // just after the line end
};

Line lineAt(std::string_view text, size_t begin) {
    Line line{begin, begin, begin};
    const size_t brk = text.find_first_of("\r\n", begin);
    if (brk == std::string_view::npos) {
        line.contentEnd = line.end = text.size();
        return line;
    }
    line.contentEnd = brk;
    line.end = brk + 1;
    if (text[brk] == '\r' && line.end < text.size() && text[line.end] == '\n') {
        ++line.end;
    }
    return line;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

struct Entry {
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;
    std::string_view value;
};

Entry parseLine(std::string_view content) {
    content = trimmed(content.substr(0, content.find('\0')));
    if (content.empty() || content.front() == ';') {
        return {};
    }
    if (content.front() == '[') {
        const size_t close = content.find(']');
        if (close != std::string_view::npos) {
            return {Entry::Kind::Section, trimmed(content.substr(1, close - 1)), {}};
        }
    }
    const size_t eq = content.find('=');
    if (eq == std::string_view::npos) {
        return {Entry::Kind::Key, content, {}};
    }
    return {Entry::Kind::Key, trimmed(content.substr(0, eq)), trimmed(content.substr(eq + 1))};
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string_view lineEndOf(std::string_view text) {
    const Line first = lineAt(text, 0);
    if (first.contentEnd == first.end) {
        return "\r\n";
    }
    return text.substr(first.contentEnd, first.end - first.contentEnd);
}

}  // namespace

bool sameIniName(std::string_view a, std::string_view b) {
    return sameName(a, b);
}

std::vector<IniKey> iniSectionKeys(std::string_view text, std::string_view section) {
    std::vector<IniKey> keys;
    bool inSection = false;
    for (size_t pos = 0; pos < text.size();) {
        const Line line = lineAt(text, pos);
        pos = line.end;
        const Entry entry = parseLine(text.substr(line.begin, line.contentEnd - line.begin));
        if (entry.kind == Entry::Kind::Section) {
            if (inSection) {
                break;
            }
            inSection = sameName(entry.name, section);
        } else if (inSection && entry.kind == Entry::Kind::Key) {
            keys.push_back({entry.name, unquoted(entry.value)});
        }
    }
    return keys;
}

std::string_view findIniValue(std::string_view text, std::string_view section,
                              std::string_view key) {
    for (const IniKey& entry : iniSectionKeys(text, section)) {
        if (sameName(entry.name, key)) {
            return entry.value;
        }
    }
    return {};
}

std::string setIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string_view eol = lineEndOf(text);
    std::string keyLine;
    keyLine.append(key).append("=").append(value);

    bool inSection = false;
    bool sectionFound = false;
    Line insertAfter;
    for (size_t pos = 0; pos < text.size();) {
        const Line line = lineAt(text, pos);
        pos = line.end;
        const Entry entry = parseLine(text.substr(line.begin, line.contentEnd - line.begin));
        if (entry.kind == Entry::Kind::Section) {
            if (inSection) {
                break;
            }
            inSection = !sectionFound && sameName(entry.name, section);
            sectionFound = sectionFound || inSection;
            if (inSection) {
                insertAfter = line;
            }
        } else if (inSection && entry.kind == Entry::Kind::Key) {
            if (sameName(entry.name, key)) {
                // The profile API keeps the name as the file spells it.
                return std::string(text.substr(0, line.begin)) + std::string(entry.name) + "=" +
                       std::string(value) + std::string(text.substr(line.contentEnd));
            }
            insertAfter = line;
        }
    }

    std::string out;
    if (sectionFound) {
        out.append(text.substr(0, insertAfter.end));
        if (insertAfter.contentEnd == insertAfter.end) {
            out.append(eol);  // that line was the last one and had no line end
        }
        out.append(keyLine).append(eol).append(text.substr(insertAfter.end));
        return out;
    }
    out.append(text);
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') {
        out.append(eol);
    }
    out.append("[").append(section).append("]").append(eol).append(keyLine).append(eol);
    return out;
}
