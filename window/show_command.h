#pragma once

// How the window first shows itself, from the show command it was started
// with (a shortcut's "Run:", or the starting program's STARTUPINFO). The
// codes are ShowWindow's SW_* values, repeated so this stays portable and
// tested; the host checks them against <windows.h>.

#include <optional>

namespace taliven {

enum class ShowCommand : int {
    Hide = 0,
    ShowNormal = 1,
    ShowMinimized = 2,
    ShowMaximized = 3,
    ShowNoActivate = 4,
    Show = 5,
    Minimize = 6,
    ShowMinNoActive = 7,
    ShowNA = 8,
    Restore = 9,
    ShowDefault = 10,
    ForceMinimize = 11,
};

struct FirstShow {
    ShowCommand command;
    bool takesFocus; // whether the voltage slider gets the keyboard focus at once
};

// A fixed-size window has nothing to gain from being maximised, and a
// maximised frame without a maximise box could not be restored: maximise
// requests show it normally. A hidden start would leave a calculator nobody
// can reach, so it shows too. Minimised and not-activated starts are kept as
// asked, and only a start that activates a normal window takes the focus:
// SetFocus would activate the window behind the user's back.
[[nodiscard]] constexpr FirstShow firstShow(int requested) {
    switch (static_cast<ShowCommand>(requested)) {
    case ShowCommand::ShowMinimized:
    case ShowCommand::Minimize:
    case ShowCommand::ShowMinNoActive:
    case ShowCommand::ForceMinimize:
    case ShowCommand::ShowNoActivate:
    case ShowCommand::ShowNA:
        return {static_cast<ShowCommand>(requested), false};
    default:
        return {ShowCommand::ShowNormal, true};
    }
}

// Windows replaces the first ShowWindow of a program's top-level window with
// the launcher's STARTUPINFO.wShowWindow when STARTF_USESHOWWINDOW is set
// ("nCmdShow is ignored the first time an application calls ShowWindow, if
// the program that launched the application provides a STARTUPINFO
// structure"): `Start-Process -WindowStyle Hidden` or a scheduled task may
// still hide the window, and a shortcut may maximise it. A second ShowWindow
// is taken as asked, and puts the window as firstShow meant it.
[[nodiscard]] constexpr std::optional<ShowCommand> secondShow(bool visible, bool maximised) {
    if (!visible) {
        return ShowCommand::ShowNormal;
    }
    if (maximised) {
        return ShowCommand::Restore;
    }
    return std::nullopt;
}

} // namespace taliven
