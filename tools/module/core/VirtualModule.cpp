#include "VirtualModule.h"

#include "common/SystemError.h"

VirtualModule::VirtualModule(int modules, LiveChain::Listener listener)
    : chain_(modules, std::move(listener)),
      port_(
          {[this] {
               programmed_ = cable_;
               return chain_.enterBootloader(programmed_);
           },
           [this](std::vector<uint8_t> program) { chain_.run(programmed_, std::move(program)); }}) {
}

std::string VirtualModule::open() {
    if (const int error = port_.open(); error != 0) {
        return "le port du câble sur 127.0.0.1 ne s'ouvre pas (" + frenchReason(error) + ")";
    }
    if (const std::string failure = portFile_.write(portFilePath(), port()); !failure.empty()) {
        return "le fichier du port ne s'écrit pas : " + failure;
    }
    return {};
}

std::string VirtualModule::port() const {
    return "net:127.0.0.1:" + std::to_string(port_.number());
}
