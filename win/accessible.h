// A window's client area as one accessible object, for screen readers and the tools that walk the tree.
#pragma once

#include <windows.h>

#include <string>

namespace quilmora {

// What the object says of itself; everything else comes from the standard client object of the window.
class FonteAccessibile {
public:
    virtual std::wstring NomeAccessibile() const = 0;

protected:
    ~FonteAccessibile() = default;
};

class OggettoAccessibile;

// The first object asked for starts COM on the windows' thread, once; its owner ends it at the program's end, after
// the windows.
class FineCom {
public:
    FineCom() = default;
    ~FineCom();
    FineCom(const FineCom&) = delete;
    FineCom& operator=(const FineCom&) = delete;
};

// Answers WM_GETOBJECT for the client area. The object is made at the first request, and oleacc with it; once
// the window goes, an object still held by another program answers only errors.
class ClientAccessibile {
public:
    // `ruolo`: ROLE_SYSTEM_*. The object is read-only and has no children.
    ClientAccessibile(FonteAccessibile& fonte, LONG ruolo) noexcept : fonte_(fonte), ruolo_(ruolo) {}
    ~ClientAccessibile() { Chiudi(); }
    ClientAccessibile(const ClientAccessibile&) = delete;
    ClientAccessibile& operator=(const ClientAccessibile&) = delete;

    // True, with the answer, for a request for the client area; false for the window to pass on.
    bool Rispondi(HWND finestra, WPARAM wp, LPARAM lp, LRESULT& risposta);
    // The window is going: the object lets go of it and of every other program.
    void Chiudi() noexcept;

private:
    FonteAccessibile& fonte_;
    LONG ruolo_;
    OggettoAccessibile* oggetto_ = nullptr;  // one reference, ours
};

}  // namespace quilmora
