#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Collision2D
{

// The fixed shapes of one layer, as its collision text file lists them:
//
//   <word> <segment count>
//   x1 s y1 s x2 s y2 s z s user-id        (segment count times)
//   <word> <circle count>
//   cx s cy s radius s z s user-id          (circle count times)
//
// White space (blanks, tabs, line ends, carriage returns) may stand before
// every item, so a record may run over lines; each s is exactly one
// character that is not white space and is not looked at. The words are
// runs of non-white-space characters and are not looked at either. Numbers
// are read in the classic notation whatever the process locale: a count is
// a signed 32-bit integer, coordinates, radii and z are decimal floats with
// an optional fraction and exponent, a user id is an unsigned 32-bit
// integer. z is truncated toward zero and its low byte kept (1.9 gives 1,
// -1 gives 255, 256 gives 0). A count of 0 or below lists no record of its
// kind. Whatever follows the last circle record is ignored.
//
// A file is taken whole or not at all: a missing or malformed item, a count
// the rest of the file cannot hold, a number outside its type and a z that
// is not finite or whose integer part does not fit 32 bits fail the read,
// which then leaves the shapes as they were and names the record.
class StaticCollisionFile
{
public:
    struct Segment
    {
        Math::Vector2D a;
        Math::Vector2D b;
        std::uint8_t z = 0;
        std::uint32_t userId = 0;
    };

    struct Circle
    {
        Math::Vector2D center;
        float radius = 0.0f;
        std::uint8_t z = 0;
        std::uint32_t userId = 0;
    };

    // Reads the file at an engine path (backslashes allowed). False when it
    // cannot be opened or read, with `problem` left empty so the caller can
    // give the system's reason, or when its text does not parse.
    bool Read(const std::string& path, std::string& problem);
    // Parses the file's text (carriage returns count as white space).
    bool Parse(std::string_view text, std::string& problem);

    const std::vector<Segment>& GetSegments() const { return segments_; }
    const std::vector<Circle>& GetCircles() const { return circles_; }

private:
    std::vector<Segment> segments_;
    std::vector<Circle> circles_;
};

} // namespace Collision2D
