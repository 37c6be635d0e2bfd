// The portable logic where the window seen from outside cannot show it (every
// text of every slider pair is judged through the real window by
// check_readouts.py, and the 16-bit overflow by the error report): the font
// under "make text bigger" (which Wine's fonts ignore), and DPI changes from
// another monitor or thread.

#include "window/dpi_change.h"
#include "window/layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace taliven {
namespace {

// Whether or not the system has already enlarged its message font for the
// text size, the labels' font grows with the setting and stays within the
// 9-point design scaled like the layout; a message font larger than the
// design grows the layout with it, up to the largest text size.
TEST(TextSize, TheFontGrowsOnceWhicheverWayTheSystemScalesIt) {
    // Segoe UI 9 pt and Tahoma 8 pt as the system gives them, unscaled or
    // already scaled; larger message fonts; the default font (0).
    const std::tuple<int, int, int, TextScale> cases[] = {
        // system em, dpi, percent, scale
        {-12, 96, 100, {100, 12}},  {-12, 96, 150, {150, 18}},  {-18, 96, 150, {150, 18}},
        {-18, 144, 150, {150, 27}}, {-27, 144, 150, {150, 27}}, {-11, 96, 150, {150, 17}},
        {-17, 96, 150, {150, 18}},  {-40, 192, 225, {225, 54}}, {0, 96, 150, {150, 0}},
        {-16, 96, 100, {134, 16}},  {-27, 144, 100, {150, 27}}, {-40, 96, 100, {225, 27}},
        {-24, 96, 150, {200, 24}},  {11, 96, 100, {100, 11}}};
    for (const auto& [em, dpi, percent, scale] : cases) {
        EXPECT_EQ(textScale(em, dpi, percent), scale) << em << " " << dpi << " " << percent;
    }
}

TEST(DpiChange, OnlyAChangeTheSystemConfirmsIsActedOn) {
    const auto dpis = [](std::uint32_t x, std::uint32_t y) { return x | (y << 16U); };
    // wParam, the window's DPI, the DPI in use, the DPI accepted
    const std::tuple<std::uint32_t, int, int, std::optional<int>> changes[] = {
        // clang-format off
        {dpis(144, 144), 144, 96, 144}, {dpis(96, 96), 96, 144, 96},  // real changes
        {dpis(144, 144), 96, 96, {}},   {dpis(144, 144), 0, 96, {}},  // made up; cannot tell
        {dpis(0, 0), 0, 96, {}},                                      // nor then
        {dpis(144, 120), 144, 96, {}},  {dpis(96, 96), 96, 96, {}},   // uneven; no change
        {dpis(9999, 9999), 9999, 96, 960}, {dpis(1, 1), 1, 96, 48}}; // clamped
    // clang-format on
    for (const auto& [wParam, windowDpi, currentDpi, accepted] : changes) {
        EXPECT_EQ(confirmedDpiChange(wParam, windowDpi, currentDpi), accepted) << wParam;
    }
    // A confirmed change is acted on whichever thread sent it: SendMessage
    // (1), SendNotifyMessage (2), SendMessageCallback (4), replied (8); the
    // suggested rectangle is read only when our own thread sent it.
    for (const std::uint32_t inSend : {0U, 1U, 2U, 4U, 9U}) {
        const auto c = dpiChangeToApply(dpis(144, 144), 144, 96, inSend);
        EXPECT_TRUE(c && c->dpi == 144 && c->atSuggestedRect == (inSend == 0)) << inSend;
        EXPECT_EQ(dpiChangeToApply(dpis(144, 144), 96, 96, inSend), std::nullopt) << inSend;
    }
    // The size asked for ahead of a change: only our own thread's request
    // is answered; another's pointer is never written.
    EXPECT_EQ(trustedDpiQuery(144, 0, 96), 144);
    const std::pair<unsigned, unsigned> untrusted[] = {
        {144, 1}, {144, 2}, {144, 4}, {144, 9}, {96, 0}, {0x7FFFFFFF, 0}, {0, 0}};
    for (const auto& [dpi, inSend] : untrusted) {
        EXPECT_EQ(trustedDpiQuery(dpi, inSend, 96), std::nullopt) << dpi << " " << inSend;
    }
}

} // namespace
} // namespace taliven
