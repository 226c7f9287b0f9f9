#include "flags/flag_model.h"

namespace flags {
namespace {

// A flag's long help is one to four paragraphs; unused slots stay empty.
using Paragraphs = std::array<std::string_view, 4>;

// clang-format off
// The paragraphs of each flag's help, by flag index. Runs of spaces are part of the text.
constexpr std::array<Paragraphs, FlagCount> Details{{
    // 0
    { "Flips texture co-ordinates left-right" },
    // 1
    { "Where a wall covers/crosses more than one trace, this will stop trk23do from splitting the wall at these crossings. This also forces the texture to be mapped once left-right.",
      "DO NOT use when the altitudes corresponding to the covered traces are non-planar - e.g. a cambered piece of track.",
      "DO use when you have a flat piece of track and you are saving polygons. See also - flag 512" },
    // 2
    { "Creates this wall from triangles instead of quads.",
      "However, if a polygon is found to be non-co-planar, it will automatically be created from triangles." },
    // 3
    { "The texture for this wall will be mapped once, stretching to fit. This is useful for things like track markings (e.g. the markings at the beginning of a runway)." },
    // 4
    { "When vertical walls are created, by default they do not have polygons created for the inside-base  - where the ground level would be if the wall was not vertical.  This flag will create those polygons for this wall." },
    // 5
    { "For walls with height, this flag adds polygons to the front (near) end. TEX Setting: 4. See also - flag 64." },
    // 6
    { "For walls with height, this flag adds polygons to the back (far) end.  TEX Setting: 5.   See also - flag 32." },
    // 7
    { "Creates upside-down polygons, just under the surface of the track. This is used when you need to see the underside of the track - e.g. a bridge/crossover. TEX Setting: 3." },
    // 8
    { "This setting stops trk23do from splitting this wall longitudinally when using 2048 and/or 4096.",
      "DO NOT use when  you have a hilly piece of track, or you have varied altitudes left-right, or you have walls that cross several traces.",
      "DO use when you have a flat piece of track, or a constant gradient piece of track.  This will save FPS.                                     See also - flags 2048, 4096." },
    // 9
    { "Exactly the same as flag 2, except this does not stop the wall from being split where it crosses traces.",
      "DO NOT use when it makes things go weird.",
      "DO use when flag 2 messes up, leaving gaps, but you still require the texture to be mapped once. Often used for the track wall  (track surface).   See also - flag 2" },
    // 10
    { "The entire track is covered with visibility boxes.  In normal circumstances they are created between walls with height.  E.g. one from the right extremity to the pit wall, one for the pit wall, one from the pit wall to the armco on the left, one for the armco, one from the armco to the left extremity.",
      "However, when your track has elevations such as banking, you will likely see clipping effects due to the polygons being drawn in the wrong order. Add 1024 to the flags of the wall immediately to the right of where the problem is - e.g. add it to the wall that is the banking. The problem should go away. It will not be solved on all corners though, due to evil stuff :-|" },
    // 11
    { "[FWO] Increases the number of polygons for every wall in this section by 5 times, longitudinally.",
      "Can be combined with flag 4096 for a 10X increase in polygons",
      "DO NOT use when you have bad FPS, or the section is a corner. DO use when the cars appear to either drive under, or float above, the track surface.  Also, you can use on corner sections when they appear too blocky, although 4096 is better for corners.",
      "See also - flags 4096, 256" },
    // 12
    { "[FWO] Increases the number of polygons for every wall in this section by 2 times, longitudinally.",
      "Can be combined with flag 2048 for a 10X increase in polygons",
      "DO NOT use when you have bad FPS, or the section is a corner. DO use when the cars appear to either drive under, or float above  the track surface, or a corner is too blocky.",
      "See also - flags 2048, 256" },
    // 13
    { "[FWO] This will increase the number of groove polygons in this section by performing a longer calculation on the groove data for this section.",
      "DO NOT use when you have bad FPS, or the groove is already ok in appearance.",
      "DO use when the racing groove is too blocky, goes all over the place.",
      "See also - flag 16384." },
    // 14
    { "[FWO] Creates one groove polygon for the entire track section - the complete opposite of flag 8192.",
      "DO NOT use when it makes the groove too blocky/weird.",
      "DO use when the racing groove is too smooth and you get bad FPS.",
      "See also - flag 8192" },
    // 15
    { "This stops trk23do from creating a polygon for the back-facing side of walls with height.  This is useful for when the back-facing sides of walls will never be seen because of the track layout.  Back-facing is defined as: left-facing if the wall is to the left of the centre-line; right-facing if the wall is to the right of the centre-line; undefined if the wall is on the centre-line." },
    // 16
    { "[FWO] By default, corner sections are created in three resolutions - high (4 pieces), medium (2 pieces) and low (1 piece).  Setting this flag will create the section from high (2 pieces), medium (1 piece) and low (1 piece).  This has two main effects:",
      "1) Decreases the number of polygons, thus improving FPS.",
      "2) Decreases the number of boxes covering the track (see flag 1024), thus improving FPS, but decreasing the graphical quality. See also - flag 1024." },
    // 17
    { "This stops trk23do from creating top polygons for walls with height - e.g. the top of trees that you can't see.  This is a FPS saving measure." },
    // 18
    { "[FWO] This will add ceiling polygons for all walls in this section.  The height above the ground-level polygons is taken from the height of the first wall, which will normally be the side of a tunnel or something similar.",
      "TEX Setting: 6 See also - flag 524288" },
    // 19
    { "This turns off ceiling polygons for this section - e.g. the walls that are the side of the tunnel.",
      "See also - flag 262144." },
}};
// clang-format on

} // namespace

std::string detailText(int index)
{
    if (index < 0 || index >= FlagCount)
        return {};
    std::string text;
    for (std::string_view paragraph : Details[index]) {
        if (paragraph.empty())
            break;
        if (!text.empty())
            text += "\r\n";
        text += paragraph;
    }
    return text;
}

std::string_view fwoNote()
{
    return "[FWO] means First Wall Only - you should only use this flag on Wall #0 of a section - "
           "it will have no effect when applied to other walls.";
}

} // namespace flags
