#pragma once

#include <QImage>
#include <string>
#include <vector>

// The whole sequence as one picture for a report or the board: the characters in rows of
// fourteen, each with its number above it and its duration below it ("0,5 s"); numbers beyond
// what the module holds are red. `records` holds character 1 first and is not empty.
QImage sequenceImage(const std::vector<std::string>& records);
