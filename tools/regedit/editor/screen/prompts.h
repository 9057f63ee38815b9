// The editor's modal questions on the curses screen: a line typed on the
// message row, a yes/no question, a list to choose from, a text box of
// several lines, and a page of text. Each returns when answered; Escape
// cancels. They need the editor's screen to be open. One thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane::regedit::editor::screen {

// A line on the last row after `label`, starting as `initial`, selected:
// the first key that types, pastes or deletes replaces it; the cursor keys
// keep it to edit, and Up brings it back. Ctrl-V inserts `paste`, Ctrl-U
// empties the line. Empty on Escape.
std::optional<std::string> PromptLine(const std::string& label, const std::string& initial,
                                      const std::string& paste = {});

// `question` on the last row; true for y or Y, false for anything else.
bool Confirm(const std::string& question);

// A framed list; returns the chosen index (Enter), or empty (Escape).
std::optional<size_t> ChooseFromList(const std::string& title, const std::vector<std::string>& items,
                                     size_t initial = 0);

// A framed box of lines for a multi-line text, starting as `initial`,
// selected as in PromptLine (without Up); Ctrl-D (or F2) ends it, Escape
// cancels.
std::optional<std::string> EditLines(const std::string& title, const std::string& initial);

// A framed page of lines, scrolled with the arrows and the page keys; any
// other key closes it and is returned.
int ShowPage(const std::string& title, const std::vector<std::string>& lines, const std::string& footer);

}  // namespace orvane::regedit::editor::screen
