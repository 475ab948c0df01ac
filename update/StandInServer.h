// Test support: the local stand-in of the publisher's services
// (tools/standin/standin.py) started for one test on a free port, and its
// control interface. Under Wine a Windows program can start a Linux one.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

class StandInServer {
 public:
  StandInServer();   // starts it and waits until it listens
  ~StandInServer();  // stops it
  StandInServer(const StandInServer&) = delete;
  StandInServer& operator=(const StandInServer&) = delete;

  bool running() const { return m_port != 0; }
  int port() const { return m_port; }
  // "http://127.0.0.1:<port>", the version server's base URL.
  std::wstring BaseUrl() const;
  // Where a file set with SetFile is served.
  std::wstring FileUrl(const std::wstring& name) const;

  // The answer to the version query; options as in standin.py, e.g.
  // L"status=404", L"v=1.0.1.0", L"stall=1".
  bool SetVersionAnswer(const std::string& body, const std::wstring& options = L"");
  // A downloadable file; options e.g. L"length=0", L"close_after=2000".
  bool SetFile(const std::wstring& name, const std::string& bytes, const std::wstring& options = L"");
  // "<method> <path> <Range header or ->" per request seen, in order.
  std::vector<std::string> Requests();
  // Stops it now; its port is closed afterwards.
  void Stop();

 private:
  bool Post(const std::wstring& path, const std::string& body);
  std::string Get(const std::wstring& path);

  int m_port = 0;
};

}  // namespace testing_support
