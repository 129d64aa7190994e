#pragma once

// What the form shows besides its geometry (layout.h) and its column titles
// (columns.h): the window's title, the controls' captions, what screen
// readers hear of the table and how large the captions' font is. Both
// frontends take them from here (all but the table's description, which only
// the Linux program gives), so the two programs cannot drift apart in what
// the user reads or hears.

#include <concepts>
#include <string_view>

namespace quorvane {

inline constexpr std::u16string_view kFormTitle = u"Quorvane";

// An "&" is not shown; it makes the letter after it the control's access key.
inline constexpr std::u16string_view kCommand1Caption = u"&List Network Adaptors";
inline constexpr std::u16string_view kCommand2Caption = u"&Copy table to clipboard";
inline constexpr std::u16string_view kChkCommasCaption = u"Use commas to separate columns";

// The table shows no caption of its own, so a screen reader would announce
// it as a bare "table"; these give it a name and say what its rows are.
// Neither is drawn. Only the Linux program gives the description: on Windows
// the list view's standard accessible object has none, and giving it one
// takes a dynamic annotation (IAccPropServices), which Wine, where the
// Windows program is tested, leaves unimplemented; the name is the list
// view's window text there.
inline constexpr std::u16string_view kListView1AccessibleName = u"Network adapters";
inline constexpr std::u16string_view kListView1AccessibleDescription =
    u"One row for each network adapter of this computer";

// The layout's twips were drawn for the form's font at 8 points, so every
// control starts at that size. A face wider than the one the layout was drawn
// with may not fit a caption into its control; the caption then gets a smaller
// size, but none below 6 points, where it would be too small to read.
inline constexpr int kFormFontPoints = 8;
inline constexpr int kSmallestCaptionPoints = 6;

// The size a caption's font gets: from `formSize` down to `smallestSize`, one
// step at a time in the frontend's finest unit (Windows sizes fonts in whole
// pixels, Qt in fractions of a point), the first size at which `fits` says the
// caption fits its control; `smallestSize` when no larger one does.
template <std::predicate<int> Fits>
[[nodiscard]] int LargestFittingSize(int formSize, int smallestSize, Fits&& fits) {
    for (int size = formSize; size > smallestSize; --size) {
        if (fits(size)) return size;
    }
    return smallestSize;
}

}  // namespace quorvane
