#include "browser/DocEvtHandler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/FakeHtmlDom.h"

namespace {

using testing_support::FakeClickEvent;
using testing_support::FakeElement;
using Href = FakeElement::Href;

const IID kIidHtmlEvents = {0x3050F617, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

// One element of a clicked chain, innermost first in a case.
struct Node {
  const wchar_t* tag;
  Href href = Href::kAbsent;
  const wchar_t* hrefText = L"";
  bool failTagName = false;
  bool failParent = false;
  bool failAttribute = false;
};

struct ClickCase {
  const char* name;
  std::vector<Node> chain;  // from the clicked element out to the root
  std::vector<std::wstring> expected;
  bool failSource = false;
};

// A handler whose trace lines are collected; released at the end.
class Tracer {
 public:
  Tracer() : handler(new SDocEvtHandler([this](const std::wstring& line) { lines.push_back(line); })) {}
  ~Tracer() { handler->Release(); }
  std::vector<std::wstring> lines;
  SDocEvtHandler* handler;
};

// The click as the document fires it: dispatch id -600 with the event object.
HRESULT FireClick(IDispatch* sink, IDispatch* eventObject, DISPID id = -600) {
  VARIANT argument;
  argument.vt = VT_DISPATCH;
  argument.pdispVal = eventObject;
  DISPPARAMS params{&argument, nullptr, 1, 0};
  return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

TEST(DocEvtHandler, ClickTracesTheInnermostEnclosingLinkOnly) {
  const std::vector<ClickCase> cases = {
      {"text of a link", {{L"A", Href::kText, L"http://h/news.html"}, {L"BODY"}}, {L"单击事件:http://h/news.html\r\n"}},
      {"text inside a link",
       {{L"SPAN"}, {L"A", Href::kText, L"http://h/s?x=1&y=2"}, {L"P"}, {L"BODY"}},
       {L"单击事件:http://h/s?x=1&y=2\r\n"}},
      {"image inside a link",
       {{L"IMG"}, {L"A", Href::kText, L"/game/play_gamecode.php?svname=电信一区"}, {L"DIV"}, {L"BODY"}},
       {L"单击事件:/game/play_gamecode.php?svname=电信一区\r\n"}},
      {"lower-case tag name", {{L"a", Href::kText, L"http://h/l"}}, {L"单击事件:http://h/l\r\n"}},
      {"outside any link", {{L"P"}, {L"BODY"}, {L"HTML"}}, {}},
      {"link without href", {{L"A"}, {L"BODY"}}, {L"单击事件:\r\n"}},
      {"href that is not text", {{L"A", Href::kNumber}, {L"BODY"}}, {L"单击事件:\r\n"}},
      {"abbreviation is no link", {{L"ABBR", Href::kText, L"http://h/abbr"}, {L"BODY"}}, {}},
      {"image-map area is no link", {{L"AREA", Href::kText, L"http://h/area"}, {L"MAP"}, {L"BODY"}}, {}},
      {"nested links",
       {{L"B"}, {L"A", Href::kText, L"http://h/inner"}, {L"A", Href::kText, L"http://h/outer"}, {L"BODY"}},
       {L"单击事件:http://h/inner\r\n"}},
      {"unreadable tag name is passed over",
       {{L"SPAN", Href::kAbsent, L"", true}, {L"A", Href::kText, L"http://h/up"}},
       {L"单击事件:http://h/up\r\n"}},
      {"link with an unreadable tag name is no link", {{L"A", Href::kText, L"http://h/x", true}, {L"BODY"}}, {}},
      {"parent unreadable", {{L"SPAN", Href::kAbsent, L"", false, true}, {L"A", Href::kText, L"http://h/x"}}, {}},
      {"attribute unreadable", {{L"A", Href::kText, L"http://h/x", false, false, true}}, {}},
      {"source element unreadable", {{L"A", Href::kText, L"http://h/x"}}, {}, true},
      {"no source element", {}, {}},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Built from the root inwards; each element holds its parent.
    std::vector<FakeElement*> elements;
    FakeElement* parent = nullptr;
    for (auto node = c.chain.rbegin(); node != c.chain.rend(); ++node) {
      FakeElement* element = new FakeElement(node->tag, parent, node->href, node->hrefText);
      element->failTagName = node->failTagName;
      element->failParent = node->failParent;
      element->failAttribute = node->failAttribute;
      elements.push_back(element);
      parent = element;
    }
    FakeClickEvent* event = new FakeClickEvent(parent);
    event->failSource = c.failSource;
    std::vector<LONG> refsBefore;
    for (FakeElement* element : elements) refsBefore.push_back(element->RefCount());

    Tracer tracer;
    EXPECT_EQ(S_OK, FireClick(tracer.handler, event));
    EXPECT_EQ(c.expected, tracer.lines);

    // Every element and the event object borrowed only for the click.
    for (size_t i = 0; i < elements.size(); ++i) EXPECT_EQ(refsBefore[i], elements[i]->RefCount()) << i;
    EXPECT_EQ(1, event->RefCount());
    event->Release();
    for (FakeElement* element : elements) element->Release();
  }
}

TEST(DocEvtHandler, OtherEventsAndMalformedClicksWriteNothing) {
  Tracer tracer;
  FakeElement* link = new FakeElement(L"A", nullptr, Href::kText, L"http://h/x");
  FakeClickEvent* event = new FakeClickEvent(link);

  // Double click, mouse move, key press: not members of this sink.
  for (DISPID other : {-601, -606, -603, 1027}) {
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, FireClick(tracer.handler, event, other)) << other;
  }
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(DISP_E_BADPARAMCOUNT,
            tracer.handler->Invoke(-600, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
  VARIANT text;
  text.vt = VT_BSTR;
  text.bstrVal = ::SysAllocString(L"not an event");
  DISPPARAMS wrongType{&text, nullptr, 1, 0};
  UINT argError = 99;
  EXPECT_EQ(DISP_E_TYPEMISMATCH,
            tracer.handler->Invoke(-600, IID_NULL, 0, DISPATCH_METHOD, &wrongType, nullptr, nullptr, &argError));
  EXPECT_EQ(0u, argError);
  ::VariantClear(&text);
  tracer.handler->OnClick(nullptr);
  EXPECT_TRUE(tracer.lines.empty());

  // The same sink still traces a real click afterwards.
  EXPECT_EQ(S_OK, FireClick(tracer.handler, event));
  EXPECT_EQ(std::vector<std::wstring>{L"单击事件:http://h/x\r\n"}, tracer.lines);
  event->Release();
  link->Release();
}

TEST(DocEvtHandler, AnswersItsDispatchInterfaceUnderThreeIdsAndNamesTheClick) {
  Tracer tracer;
  IDispatch* primary = tracer.handler;
  for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &kIidHtmlEvents}) {
    void* answer = nullptr;
    EXPECT_EQ(S_OK, tracer.handler->QueryInterface(*iid, &answer));
    EXPECT_EQ(static_cast<void*>(primary), answer);
    if (answer) static_cast<IUnknown*>(answer)->Release();
  }
  void* answer = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, tracer.handler->QueryInterface(IID_IOleClientSite, &answer));
  EXPECT_EQ(nullptr, answer);

  LPOLESTR name = const_cast<LPOLESTR>(L"HTMLELEMENTEVENTS2_ONCLICK");
  DISPID id = 0;
  EXPECT_EQ(S_OK, tracer.handler->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
  EXPECT_EQ(-600, id);
  LPOLESTR other = const_cast<LPOLESTR>(L"HTMLELEMENTEVENTS2_ONDBLCLICK");
  EXPECT_EQ(DISP_E_UNKNOWNNAME, tracer.handler->GetIDsOfNames(IID_NULL, &other, 1, 0, &id));
  EXPECT_EQ(DISPID_UNKNOWN, id);
}

// The real handler's lines reach the debugger output, seen here as the
// exception OutputDebugString raises for a debugger.
std::vector<std::wstring>* g_debuggerLines = nullptr;

LONG CALLBACK CaptureDebuggerOutput(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (g_debuggerLines && record->NumberParameters >= 2) {
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C) {
      g_debuggerLines->push_back(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]));
    } else if (record->ExceptionCode == DBG_PRINTEXCEPTION_C) {
      const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
      wchar_t wide[512] = {};
      ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 511);
      g_debuggerLines->push_back(wide);
    }
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

TEST(DocEvtHandler, WritesToTheDebuggerOutputByDefault) {
  std::vector<std::wstring> seen;
  g_debuggerLines = &seen;
  PVOID capture = ::AddVectoredExceptionHandler(1, CaptureDebuggerOutput);
  SDocEvtHandler* handler = new SDocEvtHandler();
  FakeElement* link = new FakeElement(L"A", nullptr, Href::kText, L"http://h/traced");
  FakeClickEvent* event = new FakeClickEvent(link);
  EXPECT_EQ(S_OK, FireClick(handler, event));
  ::RemoveVectoredExceptionHandler(capture);
  g_debuggerLines = nullptr;
  event->Release();
  link->Release();
  handler->Release();

  // Through an 8-bit code page without Chinese the first characters may
  // arrive as '?'; the href and the line end always come through.
  bool traced = false;
  for (const std::wstring& line : seen) {
    const std::wstring tail = L":http://h/traced\r\n";
    traced = traced || (line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0);
  }
  EXPECT_TRUE(traced) << seen.size() << " debugger lines";
}

}  // namespace
