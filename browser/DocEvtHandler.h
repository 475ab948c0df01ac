// Sink for a page's HTML document events that traces clicks on links: a click
// on or inside a link writes "单击事件:<href>" to the debugger output. The
// click itself is left alone; the browser follows the link as usual.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>

class SDocEvtHandler final : public IDispatch {
 public:
  // Where trace lines go; the debugger output unless a test says otherwise.
  using TraceSink = std::function<void(const std::wstring& line)>;

  // The object starts with one reference, its creator's; the last Release
  // deletes it.
  SDocEvtHandler();
  explicit SDocEvtHandler(TraceSink sink);
  SDocEvtHandler(const SDocEvtHandler&) = delete;
  SDocEvtHandler& operator=(const SDocEvtHandler&) = delete;

  // Answers IUnknown, IDispatch and the HTML events' dispatch interface
  // {3050F617-98B5-11CF-BB82-00AA00BDCE0B}, all with the same pointer.
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  // One name: "HTMLELEMENTEVENTS2_ONCLICK", dispatch id -600.
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  // The click (-600, one IDispatch argument) goes to OnClick; other events
  // are not members of this sink.
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  // eventObject is the document's IHTMLEventObj, borrowed for the call.
  void OnClick(IDispatch* eventObject);

 private:
  ~SDocEvtHandler();

  LONG m_lRefCount = 1;
  TraceSink m_sink;
};
