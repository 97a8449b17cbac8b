#include "TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "common/Utf8Path.h"

namespace fs = std::filesystem;

// The system's folder for temporary files (/tmp, or TMPDIR; the user's Temp folder on Windows),
// with "/" between names as everywhere in the program.
TempFolder::TempFolder(std::string_view prefix) {
    std::string temp = utf8String(fs::temp_directory_path());
    std::replace(temp.begin(), temp.end(), '\\', '/');
    if (temp.ends_with('/')) {
        temp.pop_back();
    }
    std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::string candidate =
            temp + "/" + std::string(prefix) + "-" + std::to_string(random() % 1'000'000'000);
        if (fs::create_directory(utf8Path(candidate))) {
            path_ = candidate;
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("no temporary folder in " + temp);
    }
    fs::permissions(utf8Path(path_), fs::perms(0755));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(utf8Path(path_), ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(utf8Path(path_), ignored);
}

std::string TempFolder::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(utf8Path(path_))) {
        names.push_back(utf8String(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names) {
        out += (out.empty() ? "" : " ") + name;
    }
    return out;
}

ProgramFolder::ProgramFolder() : TempFolder("vexlo program é") {
    const fs::path built = utf8Path(VEXLO_PROGRAM_DIR);
    fs::create_directory(utf8Path(file("Travail")));
    fs::create_directory(utf8Path(file("modèle")));
    for (const auto& entry : fs::directory_iterator(built)) {
        if (entry.path().extension() == ".gif" || entry.path().filename() == "Makefile") {
            fs::copy_file(entry.path(), utf8Path(path()) / entry.path().filename());
        }
    }
    for (const auto& entry : fs::directory_iterator(built / utf8Path("modèle"))) {
        fs::copy_file(entry.path(), utf8Path(file("modèle")) / entry.path().filename());
    }
}

void ProgramFolder::writeSequence(std::string_view count,
                                  const std::vector<std::string>& records) const {
    std::string text = "[Caract\xE8res]\r\nNombre=" + std::string(count) + "\r\n";
    for (size_t n = 0; n < records.size(); ++n) {
        text += "Caract\xE8re" + std::to_string(n + 1) + "=" + records[n] + "\r\n";
    }
    writeBytes(file("MessageTemporaire.car"), text);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(utf8Path(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(utf8Path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool exists(const std::string& path) {
    return fs::exists(fs::symlink_status(utf8Path(path)));
}

std::string testData(std::string_view name) {
    return readBytes(std::string(VEXLO_TEST_DATA) + "/" + std::string(name));
}
