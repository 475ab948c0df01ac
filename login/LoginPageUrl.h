// The login page's address rules, Windows-free: where the adapter address
// goes into the page URL, and which navigation is the one into the game.
#pragma once

#include <string>

namespace quarrow {

// Puts "mac/<mac>/" into url: after a final "/", before the last "?" of a
// query (which keeps its "?"), or else after an added "/".
void AppendMacToUrl(std::wstring& url, const std::wstring& mac);

// The page's way into the game: a URL holding "play_gamecode" (case matters).
bool IsGameUrl(const std::wstring& url);

}  // namespace quarrow
