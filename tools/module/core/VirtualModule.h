#pragma once

#include <atomic>
#include <string>

#include "LiveChain.h"
#include "PortFile.h"
#include "ProgrammingPort.h"

// The virtual module as the module Makefile and the pupil meet it: a chain of modules at the
// pace of real time, one USB cable plugged into one of them (the first at the start), and the
// port file that tells avrdude where the cable is.
class VirtualModule {
  public:
    VirtualModule(int modules, LiveChain::Listener listener);

    // Opens the cable's port and writes the port file. Returns an empty text, or what failed in
    // French words.
    std::string open();

    LiveChain& chain() { return chain_; }
    // avrdude's name of the cable's port, "net:127.0.0.1:PORT".
    std::string port() const;
    int cable() const { return cable_; }
    void plugCable(int module) { cable_ = module; }

  private:
    LiveChain chain_;
    std::atomic<int> cable_{0};
    int programmed_ = 0;  // the module of the session under way; only the port's thread uses it
    ProgrammingPort port_;
    PortFile portFile_;
};
