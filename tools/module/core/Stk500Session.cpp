#include "Stk500Session.h"

#include <algorithm>

namespace {

constexpr char kOk = 0x10, kInSync = 0x14, kNoSync = 0x15, kEndOfCommand = 0x20;
constexpr uint8_t kSetParameter = 0x40, kGetParameter = 0x41, kSetDevice = 0x42,
                  kSetDeviceExtended = 0x45, kLeaveProgramming = 0x51, kChipErase = 0x52,
                  kLoadAddress = 0x55, kUniversal = 0x56, kProgramPage = 0x64, kReadPage = 0x74,
                  kReadSignature = 0x75;
constexpr uint8_t kSoftwareMajor = 0x81;
constexpr char kSignature[] = {0x1E, static_cast<char>(0x95), 0x0F};

uint8_t byteAt(std::string_view text, std::size_t index) {
    return static_cast<uint8_t>(text[index]);
}

std::string framed(std::string_view data) {
    return std::string(1, kInSync) + std::string(data) + std::string(1, kOk);
}

}  // namespace

Stk500Session::Stk500Session(std::vector<uint8_t> flash) : flash_(std::move(flash)) {}

std::string Stk500Session::receive(std::string_view bytes) {
    pending_.append(bytes);
    std::string answers;
    for (std::size_t length;
         !pending_.empty() && (length = commandLength()) != 0 && pending_.size() >= length;) {
        answers += answer(std::string_view(pending_).substr(0, length));
        pending_.erase(0, length);
    }
    return answers;
}

// The length of the command that starts the pending bytes, end mark included; 0 while the
// bytes that tell it have not come yet.
std::size_t Stk500Session::commandLength() const {
    const auto needs = [this](std::size_t known, auto length) -> std::size_t {
        return pending_.size() < known ? 0 : length();
    };
    switch (byteAt(pending_, 0)) {
        case kGetParameter:
            return 3;
        case kSetParameter:
        case kLoadAddress:
            return 4;
        case kUniversal:
            return 6;
        case kSetDevice:
            return 22;
        case kSetDeviceExtended:
            return needs(2, [this] { return 2u + byteAt(pending_, 1); });
        case kProgramPage:
            return needs(3, [this] {
                return 5u + (std::size_t{byteAt(pending_, 1)} << 8 | byteAt(pending_, 2));
            });
        case kReadPage:
            return 5;
        default:  // sync, sign on, enter and leave programming mode, erase, read signature...
            return 2;
    }
}

std::string Stk500Session::answer(std::string_view command) {
    if (command.back() != kEndOfCommand) {
        return std::string(1, kNoSync);
    }
    const uint8_t code = byteAt(command, 0);
    switch (code) {
        case kGetParameter: {
            // Version 8.3 of the usual serial bootloader, which answers 3 to anything else.
            return framed(std::string(1, byteAt(command, 1) == kSoftwareMajor ? 8 : 3));
        }
        case kLoadAddress:
            address_ = static_cast<uint32_t>(byteAt(command, 1) | byteAt(command, 2) << 8);
            return framed("");
        case kUniversal:
            return framed(universal(command));
        case kChipErase:
            std::fill(flash_.begin(), flash_.end(), 0xFF);
            return framed("");
        case kProgramPage:
        case kReadPage: {
            const std::size_t size = std::size_t{byteAt(command, 1)} << 8 | byteAt(command, 2);
            const bool isFlash = command[3] == 'F';
            // Flash is addressed in words, EEPROM (which this module leaves alone) in bytes.
            const std::size_t start = std::min<std::size_t>(address_ * 2u, flash_.size());
            const std::size_t end = std::min(start + size, flash_.size());
            if (code == kReadPage) {
                return framed(isFlash ? std::string(flash_.begin() + static_cast<long>(start),
                                                    flash_.begin() + static_cast<long>(end)) +
                                            std::string(size - (end - start), '\xFF')
                                      : std::string(size, '\xFF'));
            }
            if (isFlash) {
                std::copy_n(command.begin() + 4, end - start,
                            flash_.begin() + static_cast<long>(start));
            }
            return framed("");
        }
        case kReadSignature:
            return framed(std::string(kSignature, sizeof kSignature));
        case kLeaveProgramming:
            finished_ = true;
            return framed("");
        default:  // sync, sign on, device settings, enter programming mode...
            return framed("");
    }
}

// The serial programming instructions avrdude sends as they are: the signature, the chip erase.
std::string Stk500Session::universal(std::string_view command) {
    const uint8_t instruction = byteAt(command, 1);
    if (instruction == 0x30) {
        const uint8_t index = byteAt(command, 3);
        return std::string(1, index < sizeof kSignature ? kSignature[index] : '\0');
    }
    if (instruction == 0xAC && byteAt(command, 2) == 0x80) {
        std::fill(flash_.begin(), flash_.end(), 0xFF);
    }
    return std::string(1, '\0');
}
