#include "collision/Collision_StaticCollisionFile.h"

#include "core/Core_DiskFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

namespace Collision2D
{

namespace
{

// Far beyond any layer: a collision layer holds at most 2,999 shapes of each
// kind, some hundred kilobytes of text.
constexpr std::size_t MaximumFileBytes = std::size_t{16} << 20;
// The fewest characters a record can take: its numbers of one digit each
// and their separators.
constexpr std::size_t MinimumSegmentChars = 6 + 5;
constexpr std::size_t MinimumCircleChars = 5 + 4;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Formatted extraction over the file's text in the classic notation. Every
// item skips the white space before it; a failed item leaves the position
// where the item began.
class Scanner
{
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::size_t Left() const { return text_.size() - position_; }

    bool Word()
    {
        SkipSpace();
        const std::size_t start = position_;
        while (position_ < text_.size() && !IsSpace(text_[position_]))
        {
            ++position_;
        }
        return position_ > start;
    }

    bool Separator()
    {
        SkipSpace();
        if (position_ == text_.size())
        {
            return false;
        }
        ++position_;
        return true;
    }

    bool Count(std::int32_t& value)
    {
        SkipSpace();
        const std::size_t start = position_;
        if (position_ < text_.size() && (text_[position_] == '+' || text_[position_] == '-'))
        {
            ++position_;
        }
        std::int64_t magnitude = 0;
        if (!Digits(magnitude, std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1))
        {
            position_ = start;
            return false;
        }
        const std::int64_t signedValue = text_[start] == '-' ? -magnitude : magnitude;
        if (signedValue > std::numeric_limits<std::int32_t>::max())
        {
            position_ = start;
            return false;
        }
        value = static_cast<std::int32_t>(signedValue);
        return true;
    }

    bool Unsigned(std::uint32_t& value)
    {
        SkipSpace();
        const std::size_t start = position_;
        if (position_ < text_.size() && text_[position_] == '+')
        {
            ++position_;
        }
        std::int64_t magnitude = 0;
        if (!Digits(magnitude, std::numeric_limits<std::uint32_t>::max()))
        {
            position_ = start;
            return false;
        }
        value = static_cast<std::uint32_t>(magnitude);
        return true;
    }

    // [sign] digits [. digits] [(e|E) [sign] digits], with at least one
    // digit before the exponent; a value beyond the float range fails.
    bool Float(float& value)
    {
        SkipSpace();
        const std::size_t start = position_;
        std::size_t end = position_;
        if (end < text_.size() && (text_[end] == '+' || text_[end] == '-'))
        {
            ++end;
        }
        std::size_t digits = 0;
        for (; end < text_.size() && IsDigit(text_[end]); ++end)
        {
            ++digits;
        }
        if (end < text_.size() && text_[end] == '.')
        {
            for (++end; end < text_.size() && IsDigit(text_[end]); ++end)
            {
                ++digits;
            }
        }
        if (digits == 0)
        {
            return false;
        }
        if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E'))
        {
            std::size_t exponent = end + 1;
            if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-'))
            {
                ++exponent;
            }
            if (exponent == text_.size() || !IsDigit(text_[exponent]))
            {
                return false;
            }
            for (end = exponent; end < text_.size() && IsDigit(text_[end]); ++end)
            {
            }
        }
        // from_chars takes no leading '+'.
        const std::size_t from = text_[start] == '+' ? start + 1 : start;
        float parsed = 0.0f;
        const std::from_chars_result result =
            std::from_chars(text_.data() + from, text_.data() + end, parsed, std::chars_format::general);
        if (result.ec != std::errc() || result.ptr != text_.data() + end || !std::isfinite(parsed))
        {
            return false;
        }
        value = parsed;
        position_ = end;
        return true;
    }

private:
    void SkipSpace()
    {
        while (position_ < text_.size() && IsSpace(text_[position_]))
        {
            ++position_;
        }
    }

    // One or more digits whose value does not pass `limit`.
    bool Digits(std::int64_t& value, std::int64_t limit)
    {
        const std::size_t start = position_;
        value = 0;
        for (; position_ < text_.size() && IsDigit(text_[position_]); ++position_)
        {
            value = value * 10 + (text_[position_] - '0');
            if (value > limit)
            {
                return false;
            }
        }
        return position_ > start;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

// z is truncated toward zero; the integer must fit 32 bits, and its low
// byte is the shape's z.
bool ZByte(float z, std::uint8_t& byte)
{
    const float whole = std::trunc(z);
    if (!(whole >= -2147483648.0f && whole < 2147483648.0f))
    {
        return false;
    }
    byte = static_cast<std::uint8_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(whole)) & 0xFFu);
    return true;
}

// Reads the numbers of one record: `floats` floats joined by separators,
// then a separator and the user id. `failure` names the item that failed.
bool Record(Scanner& scanner, float* floats, int count, std::uint32_t& userId, std::string& failure)
{
    for (int i = 0; i < count; ++i)
    {
        if (i > 0 && !scanner.Separator())
        {
            failure = "the file ends inside it";
            return false;
        }
        if (!scanner.Float(floats[i]))
        {
            failure = scanner.Left() == 0 ? "the file ends inside it"
                                          : "number " + std::to_string(i + 1) + " is missing or malformed";
            return false;
        }
    }
    if (!scanner.Separator())
    {
        failure = "the file ends inside it";
        return false;
    }
    if (!scanner.Unsigned(userId))
    {
        failure = scanner.Left() == 0 ? "the file ends inside it"
                                      : "its user id is missing or not an unsigned 32-bit integer";
        return false;
    }
    return true;
}

// The section word and count; a count of 0 or below lists nothing. A count
// is refused when the rest of the file cannot hold that many records.
bool Section(Scanner& scanner, const char* kind, std::size_t minimumChars, std::int32_t& count,
             std::string& problem)
{
    if (!scanner.Word() || !scanner.Count(count))
    {
        problem = std::string("the ") + kind + " section's word or count is missing or malformed";
        return false;
    }
    if (count > 0 && static_cast<std::size_t>(count) > scanner.Left() / minimumChars)
    {
        problem = std::string("the ") + kind + " count " + std::to_string(count) +
                  " is more records than the rest of the file can hold";
        return false;
    }
    return true;
}

} // namespace

bool StaticCollisionFile::Parse(std::string_view text, std::string& problem)
{
    Scanner scanner(text);
    std::vector<Segment> segments;
    std::vector<Circle> circles;
    std::string failure;

    std::int32_t count = 0;
    if (!Section(scanner, "segment", MinimumSegmentChars, count, problem))
    {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i)
    {
        float values[5];
        Segment segment;
        if (!Record(scanner, values, 5, segment.userId, failure))
        {
            problem = "segment record " + std::to_string(i + 1) + ": " + failure;
            return false;
        }
        if (!ZByte(values[4], segment.z))
        {
            problem = "segment record " + std::to_string(i + 1) + ": z is outside the 32-bit integers";
            return false;
        }
        segment.a = Math::Vector2D(values[0], values[1]);
        segment.b = Math::Vector2D(values[2], values[3]);
        segments.push_back(segment);
    }

    if (!Section(scanner, "circle", MinimumCircleChars, count, problem))
    {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i)
    {
        float values[4];
        Circle circle;
        if (!Record(scanner, values, 4, circle.userId, failure))
        {
            problem = "circle record " + std::to_string(i + 1) + ": " + failure;
            return false;
        }
        if (!ZByte(values[3], circle.z))
        {
            problem = "circle record " + std::to_string(i + 1) + ": z is outside the 32-bit integers";
            return false;
        }
        circle.center = Math::Vector2D(values[0], values[1]);
        circle.radius = values[2];
        circles.push_back(circle);
    }

    segments_ = std::move(segments);
    circles_ = std::move(circles);
    return true;
}

bool StaticCollisionFile::Read(const std::string& path, std::string& problem)
{
    problem.clear();
    std::FILE* file = std::fopen(Core::ToNativePath(path).c_str(), "rb");
    if (file == nullptr)
    {
        return false;
    }
    std::string text;
    char buffer[4096];
    std::size_t read = 0;
    bool tooLarge = false;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    {
        if (text.size() + read > MaximumFileBytes)
        {
            tooLarge = true;
            break;
        }
        text.append(buffer, read);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (tooLarge)
    {
        problem = "the file is larger than any layer's shapes can be";
        return false;
    }
    if (failed)
    {
        return false;
    }
    return Parse(text, problem);
}

} // namespace Collision2D
