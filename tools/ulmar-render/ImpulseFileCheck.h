// What the wave reader makes of a response file before the plug-in's loader
// takes it: the loader turns a file without frames into silence and says
// nothing about a refused one but that it cannot be opened, so the tool
// asks the reader itself and names the reason.
#pragma once

#include <string>

#include "wavefile/WaveReader.h"

// Empty when the file opens and delivers sample frames; otherwise one line
// naming the file and the reason.
std::string impulseFileProblem(const std::string& path);

// The reader's reason for refusing a file, in a few words.
std::string refusalText(WaveReader::Refusal refusal);
