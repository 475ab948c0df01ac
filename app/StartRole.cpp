#include "app/StartRole.h"

#include "app/NumberText.h"

namespace quarrow {
namespace {
bool StartsWith(const std::wstring& s, const wchar_t* prefix) { return s.compare(0, 2, prefix) == 0; }
}  // namespace

StartRole ChooseStartRole(const std::wstring& line) {
  if (StartsWith(line, L"-d") && line.size() > 2) return StartRole::FinishUpdate;
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, L"-u") == 0) return StartRole::UninstallConfirm;
  if (StartsWith(line, L"-u")) return StartRole::UninstallCleanup;
  GameWindowArgs args;
  return ParseGameWindowArgs(line, &args) ? StartRole::GameWindow : StartRole::Launcher;
}

std::wstring RoleArgument(const std::wstring& line) { return line.size() > 3 ? line.substr(3) : std::wstring(); }

bool ParseGameWindowArgs(const std::wstring& line, GameWindowArgs* args) {
  static const std::wstring kFrame = L"-frameWnd=";
  static const std::wstring kUrl = L"-gameurl=";
  *args = GameWindowArgs();
  size_t at = line.find(kFrame);
  if (at == std::wstring::npos) return false;
  std::wstring rest = line.substr(at + kFrame.size());
  size_t space = rest.find(L' ');
  if (space == std::wstring::npos) return false;
  args->frameHandle = ParseLeadingInteger(std::wstring_view(rest).substr(0, space));
  rest = rest.substr(space);
  size_t url = rest.find(kUrl);
  if (url != std::wstring::npos) args->gameUrl = rest.substr(url + kUrl.size());
  return args->frameHandle != 0;
}

}  // namespace quarrow
