// The lines a switch run answers with, for the script or person that started it.
#pragma once

#include <string>

namespace pinst {

// One line to standard output (ANSI bytes, CR LF), and to the run log.
void SayLine(const std::string& line);

}  // namespace pinst
