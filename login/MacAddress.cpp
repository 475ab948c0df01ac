#include "login/MacAddress.h"

#include <nb30.h>

#include <cstdio>
#include <cstring>

#include "login/LoginPageUrl.h"

namespace quarrow {

namespace {

UCHAR RunNcb(NCB* ncb) { return ::Netbios(ncb); }

}  // namespace

UCHAR GetMacAddress(char* buffer, size_t size) {
  LANA_ENUM lanas{};
  NCB ncb{};
  ncb.ncb_command = NCBENUM;
  ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&lanas);
  ncb.ncb_length = sizeof(lanas);
  UCHAR code = RunNcb(&ncb);
  if (code != NRC_GOODRET) return code;
  // No adapter at all: nothing to reset and nothing to ask.
  if (lanas.length == 0) return NRC_ENVNOTDEF;

  // The status is asked of the adapter that was reset: another one in the
  // enumeration may not be usable.
  UCHAR lana = 0;
  bool reset = false;
  for (UCHAR i = 0; i < lanas.length && i < MAX_LANA + 1; ++i) {
    ncb = NCB{};
    ncb.ncb_command = NCBRESET;
    ncb.ncb_lana_num = lanas.lana[i];
    code = RunNcb(&ncb);
    if (code == NRC_GOODRET) {
      lana = lanas.lana[i];
      reset = true;
      break;
    }
  }
  if (!reset) return code;

  struct {
    ADAPTER_STATUS adapter;
    NAME_BUFFER names[30];
  } status{};
  ncb = NCB{};
  ncb.ncb_command = NCBASTAT;
  ncb.ncb_lana_num = lana;
  std::memcpy(ncb.ncb_callname, "*               ", NCBNAMSZ);
  ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&status);
  ncb.ncb_length = sizeof(status);
  code = RunNcb(&ncb);
  if (code != NRC_GOODRET) return code;

  const unsigned char* a = status.adapter.adapter_address;
  std::snprintf(buffer, size, "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return NRC_GOODRET;
}

std::wstring MacAddressText() {
  char buffer[200] = {};
  if (GetMacAddress(buffer, sizeof(buffer)) != NRC_GOODRET) return L"";
  wchar_t wide[200] = {};
  ::MultiByteToWideChar(CP_ACP, 0, buffer, -1, wide, 200);
  return wide;
}

void AppendMacToUrl(std::wstring& url) { AppendMacToUrl(url, MacAddressText()); }

}  // namespace quarrow
