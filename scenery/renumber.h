#pragma once

#include <cstdint>
#include <string>

#include "scenery/stream.h"

// Copies a scenery configuration from `source` to `target`, numbering the area headers 1, 2, 3 in
// file order and setting every layer line to the number of its area; all other lines pass through
// byte for byte. Each output line ends in CR LF. A CR never belongs to a line: before LF it is part
// of the line end, anywhere else it is dropped. A Ctrl-Z ends the input, as in DOS text files.
// Memory use is constant, however long the input or any one line.
void RenumberAreas(ByteSource& source, ByteSink& target);

// The decimal text of a non-negative `value`, zero-filled in front to at least `width` digits.
std::string ZeroPadNumber(std::int64_t value, std::size_t width);
