#include "update/StandInServer.h"

#include <windows.h>
#include <wininet.h>

#include "tests/WinTestSupport.h"

namespace testing_support {
namespace {

const wchar_t kPython[] = L"Z:\\usr\\bin\\python3";

class Handle {
 public:
  explicit Handle(HINTERNET h) : h(h) {}
  ~Handle() {
    if (h) ::InternetCloseHandle(h);
  }
  HINTERNET h;
};

// One control request; the stand-in answers at once, so no time limit is needed.
bool Exchange(int port, const wchar_t* verb, const std::wstring& path, const std::string& body, std::string* answer) {
  Handle session(::InternetOpenW(L"standin-control", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  Handle connection(::InternetConnectW(session.h, L"127.0.0.1", static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                       INTERNET_SERVICE_HTTP, 0, 0));
  Handle request(::HttpOpenRequestW(connection.h, verb, path.c_str(), nullptr, nullptr, nullptr,
                                    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request.h) return false;
  if (!::HttpSendRequestW(request.h, nullptr, 0, const_cast<char*>(body.data()), static_cast<DWORD>(body.size()))) {
    return false;
  }
  DWORD status = 0, size = sizeof(status);
  ::HttpQueryInfoW(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
  char chunk[4096];
  DWORD got = 0;
  while (::InternetReadFile(request.h, chunk, sizeof(chunk), &got) && got > 0) {
    if (answer) answer->append(chunk, got);
  }
  return status == 200;
}

std::wstring WithOptions(const std::wstring& path, const std::wstring& options) {
  return options.empty() ? path : path + L"?" + options;
}

}  // namespace

StandInServer::StandInServer() {
  static LONG counter = 0;
  // The stand-in is a Linux program: it gets Linux paths, we read through Z:.
  std::string portFile = "/tmp/quarrow-standin-" + std::to_string(::GetCurrentProcessId()) + "-" +
                         std::to_string(::InterlockedIncrement(&counter)) + ".port";
  std::wstring portFileW = L"Z:" + std::wstring(portFile.begin(), portFile.end());
  for (wchar_t& c : portFileW) c = c == L'/' ? L'\\' : c;
  ::DeleteFileW(portFileW.c_str());

  std::string source = QUARROW_SOURCE_DIR;
  std::wstring script(source.begin(), source.end());
  script += L"/tools/standin/standin.py";
  std::wstring commandLine = L"python3 \"" + script + L"\" --port 0 --quiet --exit-with-parent --port-file \"" +
                             std::wstring(portFile.begin(), portFile.end()) + L"\"";
  // Wine hands back no usable handle for a Linux process: the stand-in is
  // stopped through its control interface, or ends with its parent.
  HANDLE process = StartProcess(kPython, commandLine);
  if (process) ::CloseHandle(process);

  WaitUntil([&] { return !ReadFileBytes(portFileW).empty(); }, 15000);
  std::vector<unsigned char> text = ReadFileBytes(portFileW);
  m_port = atoi(std::string(text.begin(), text.end()).c_str());
  ::DeleteFileW(portFileW.c_str());
}

StandInServer::~StandInServer() { Stop(); }

void StandInServer::Stop() {
  if (m_port == 0) return;
  Post(L"/__control/quit", "");
  // Wait until the port is really closed, so callers can count on it.
  int port = m_port;
  m_port = 0;
  WaitUntil([port] { return !Exchange(port, L"GET", L"/__control/requests", "", nullptr); }, 5000);
}

std::wstring StandInServer::BaseUrl() const { return L"http://127.0.0.1:" + std::to_wstring(m_port); }

std::wstring StandInServer::FileUrl(const std::wstring& name) const { return BaseUrl() + L"/files/" + name; }

bool StandInServer::SetVersionAnswer(const std::string& body, const std::wstring& options) {
  return Post(WithOptions(L"/__control/version", options), body);
}

bool StandInServer::SetFile(const std::wstring& name, const std::string& bytes, const std::wstring& options) {
  return Post(WithOptions(L"/__control/file/" + name, options), bytes);
}

std::vector<std::string> StandInServer::Requests() {
  std::string text = Get(L"/__control/requests");
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

bool StandInServer::Post(const std::wstring& path, const std::string& body) {
  return m_port != 0 && Exchange(m_port, L"POST", path, body, nullptr);
}

std::string StandInServer::Get(const std::wstring& path) {
  std::string answer;
  if (m_port != 0) Exchange(m_port, L"GET", path, "", &answer);
  return answer;
}

}  // namespace testing_support
