// Window classes: the system's built-in classes, registration per instance
// with case-insensitive names and atoms from 0xC000, and the class words.
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

namespace {

bool NameMatches(const WindowClass &cls, LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return cls.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
    return SameText(cls.name, name);
}

}  // namespace

// A null name, an atom of 0, names no class.
WindowClass *FindClass(LPCSTR name, HINSTANCE instance)
{
    State &s = S();
    // A class of the instance first, then the system's classes.
    for (auto &cls : s.classes)
        if (!cls->system && cls->instance == instance && NameMatches(*cls, name))
            return cls.get();
    for (auto &cls : s.classes)
        if (cls->system && NameMatches(*cls, name))
            return cls.get();
    return nullptr;
}

WindowClass *AddClass(const std::string &name, HINSTANCE instance, UINT style, WNDPROC proc,
                      HBRUSH background, bool system, ClassKind kind)
{
    State &s = S();
    auto cls = std::make_unique<WindowClass>();
    cls->name = name;
    cls->instance = instance;
    cls->style = style;
    cls->proc = proc;
    cls->background = background;
    cls->system = system;
    cls->kind = kind;
    std::string key = Lower(name);
    if (name == "#32770") {
        cls->atom = 32770;
    } else if (system) {
        cls->atom = s.nextSystemAtom++;
    } else {
        auto found = s.atoms.find(key);
        if (found == s.atoms.end())
            found = s.atoms.emplace(key, s.nextAtom++).first;
        cls->atom = found->second;
    }
    s.classes.push_back(std::move(cls));
    return s.classes.back().get();
}

// The class styles are those Wine gives its built-in classes.
void AddSystemClasses()
{
    AddClass("Button", NULL, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, nullptr, NULL,
             true, ClassKind::Plain);
    AddClass("Edit", NULL, CS_DBLCLKS | CS_PARENTDC, nullptr, NULL, true, ClassKind::Edit);
    AddClass("Static", NULL, CS_DBLCLKS | CS_PARENTDC, nullptr, NULL, true, ClassKind::Plain);
    AddClass("MDIClient", NULL, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), true,
             ClassKind::MdiClient);
    AddClass("#32770", NULL, 0x0800 /* CS_SAVEBITS */ | CS_DBLCLKS, nullptr,
             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), true, ClassKind::Dialog);
}

}  // namespace detail

// GCOVR_EXCL_START: the control side
std::vector<std::string> RegisteredClasses()
{
    std::vector<std::string> names;
    for (auto &cls : detail::S().classes)
        if (!cls->system)
            names.push_back(cls->name);
    return names;
}
// GCOVR_EXCL_STOP

}  // namespace winsim

using namespace winsim::detail;

namespace {

// The class as the call log writes it. GCOVR_EXCL_START
LogValue ClassArg(const WNDCLASSA *wc)
{
    if (wc == nullptr)
        return "NULL";
    LPCSTR name = wc->lpszClassName;
    if (name == nullptr)
        return LogValue(LogValue::Kind::Class, wc->style, 0);
    if (IS_INTRESOURCE(name))
        return LogValue(LogValue::Kind::Class, wc->style, 1,
                        static_cast<long long>(reinterpret_cast<ULONG_PTR>(name)));
    LogValue value(name);
    return value.As(LogValue::Kind::Class, wc->style, 2);
}
// GCOVR_EXCL_STOP

ATOM Register(const WNDCLASSA *wc)
{
    if (wc == nullptr || wc->lpszClassName == nullptr || IS_INTRESOURCE(wc->lpszClassName) ||
        wc->cbClsExtra < 0 || wc->cbWndExtra < 0)
        return 0;
    HINSTANCE instance = wc->hInstance ? wc->hInstance : MainModule();
    for (auto &cls : S().classes)
        if (!cls->system && cls->instance == instance && SameText(cls->name, wc->lpszClassName))
            return 0;
    return AddClass(wc->lpszClassName, instance, wc->style, wc->lpfnWndProc, wc->hbrBackground,
                    false, ClassKind::Plain)
        ->atom;
}

BOOL Unregister(LPCSTR name, HINSTANCE instance)
{
    if (instance == NULL)
        instance = MainModule();
    auto &classes = S().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        WindowClass &cls = **it;
        bool matches = IS_INTRESOURCE(name)
                           ? cls.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name))
                           : SameText(cls.name, name);
        // The system's classes are global: any instance names them.
        if (!matches || (!cls.system && cls.instance != instance))
            continue;
        if (cls.windows > 0)
            return FALSE;
        classes.erase(it);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

ATOM WINAPI RegisterClassA(const WNDCLASSA *windowClass)
{
    ApiCall call(Fn::RegisterClassA);
    ATOM atom = call.Failed() ? 0 : Register(windowClass);
    call.Log({ClassArg(windowClass)}, Hex(atom));
    return atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance)
{
    ApiCall call(Fn::UnregisterClassA);
    BOOL result = call.Failed() ? FALSE : Unregister(className, instance);
    call.Log({Text(className), HandleText(instance)}, Dec(result));
    return result;
}

DWORD WINAPI GetClassLongA(HWND window, int index)
{
    ApiCall call(Fn::GetClassLongA);
    DWORD result = 0;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && index == GCL_STYLE)
        result = w->cls->style;
    call.Log({HandleText(window), Dec(index)}, Hex(result));
    return result;
}

DWORD WINAPI SetClassLongA(HWND window, int index, LONG value)
{
    ApiCall call(Fn::SetClassLongA);
    DWORD result = 0;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && index == GCL_STYLE) {
        result = w->cls->style;
        w->cls->style = static_cast<UINT>(value);
    }
    call.Log({HandleText(window), Dec(index), Hex(static_cast<DWORD>(value))}, Hex(result));
    return result;
}

int WINAPI GetClassNameA(HWND window, LPSTR className, int maxCount)
{
    ApiCall call(Fn::GetClassNameA);
    int result = 0;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr)
        result = CopyOut(w->cls->name, className, maxCount);
    call.Log({HandleText(window), Buffer(className), Dec(maxCount)}, Dec(result));
    return result;
}
