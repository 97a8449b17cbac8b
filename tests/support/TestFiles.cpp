#include "TestFiles.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder(std::string_view prefix) {
    std::string pattern = "/tmp/" + std::string(prefix) + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
    fs::permissions(path_, fs::perms(0755));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::string TempFolder::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names) {
        out += (out.empty() ? "" : " ") + name;
    }
    return out;
}

ProgramFolder::ProgramFolder() : TempFolder("vexlo program é") {
    const fs::path built = VEXLO_PROGRAM_DIR;
    fs::create_directory(file("Travail"));
    fs::create_directory(file("modèle"));
    for (const auto& entry : fs::directory_iterator(built)) {
        if (entry.path().extension() == ".gif" || entry.path().filename() == "Makefile") {
            fs::copy_file(entry.path(), file(entry.path().filename().string()));
        }
    }
    fs::copy(built / "modèle", file("modèle"));
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
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool exists(const std::string& path) {
    return fs::exists(fs::symlink_status(path));
}

std::string testData(std::string_view name) {
    return readBytes(std::string(VEXLO_TEST_DATA) + "/" + std::string(name));
}
