#include "login/LoginPageUrl.h"

namespace quarrow {

void AppendMacToUrl(std::wstring& url, const std::wstring& mac) {
  const std::wstring part = L"mac/" + mac + L"/";
  if (!url.empty() && url.back() == L'/') {
    url += part;
    return;
  }
  const size_t query = url.rfind(L'?');
  if (query != std::wstring::npos) {
    url.insert(query, part);
    return;
  }
  url += L"/" + part;
}

bool IsGameUrl(const std::wstring& url) { return url.find(L"play_gamecode") != std::wstring::npos; }

}  // namespace quarrow
