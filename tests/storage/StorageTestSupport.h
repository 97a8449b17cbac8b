#pragma once

#include "ChildRun.h"
#include "TestFiles.h"

#include <string>
#include <string_view>

std::string golden(std::string_view name);  // a file of tests/data/ini
