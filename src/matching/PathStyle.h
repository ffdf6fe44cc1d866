#pragma once

namespace velmora {

// Which character separates folders in the paths a list holds. The program works on
// POSIX paths; Windows paths are accepted for lists made on Windows.
enum class PathStyle {
    Windows, // separator "\", a leading run of separators becomes exactly two
    Posix,   // separator "/", a leading run of separators becomes exactly one
};

constexpr char16_t separatorOf(PathStyle style) {
    return style == PathStyle::Windows ? u'\\' : u'/';
}

} // namespace velmora
