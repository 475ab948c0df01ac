#include "framework/Application.h"

#include "framework/Window.h"

namespace fw {
namespace {
Application* g_app = nullptr;
HINSTANCE g_module = nullptr;
}  // namespace

Application::Application(const wchar_t* profileName) : m_profileName(profileName) { g_app = this; }

Application::~Application() {
  if (g_app == this) g_app = nullptr;
}

Application* Application::Instance() { return g_app; }

HINSTANCE Application::ResourceModule() {
  // Tests run the windows without Run(); the module itself carries the resources.
  return g_module ? g_module : ::GetModuleHandleW(nullptr);
}

int Application::Run(HINSTANCE instance) {
  g_module = instance;
  if (InitInstance()) {
    while (PumpMessage()) {
    }
  }
  return ExitInstance();
}

bool Application::PumpMessage() {
  MSG msg;
  BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0) {
    m_exitCode = static_cast<int>(msg.wParam);
    return false;
  }
  if (got == -1) return false;
  if (!PreTranslateTree(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return true;
}

void Application::SetRegistryKey(const wchar_t* company) { m_company = company; }

std::wstring Application::ProfileKeyPath() const {
  return L"Software\\" + m_company + L"\\" + m_profileName;
}

std::wstring Application::GetProfileString(const wchar_t* section, const wchar_t* entry,
                                           const wchar_t* defaultValue) const {
  std::wstring key = ProfileKeyPath() + L"\\" + section;
  DWORD type = 0, bytes = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), entry, RRF_RT_REG_SZ, &type, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      bytes < sizeof(wchar_t)) {
    return defaultValue ? defaultValue : L"";
  }
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), entry, RRF_RT_REG_SZ, &type, &value[0], &bytes) !=
      ERROR_SUCCESS) {
    return defaultValue ? defaultValue : L"";
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

bool Application::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) {
  std::wstring keyPath = ProfileKeyPath() + L"\\" + section;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
  LONG rc = ::RegSetValueExW(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
  ::RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

}  // namespace fw
