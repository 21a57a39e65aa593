#include "win/accessible.h"

#include <oleacc.h>

#include <utility>

#include "win/system_dll.h"

namespace quilmora {
namespace {

bool Se(const VARIANT& figlio) {
    return figlio.vt == VT_I4 && figlio.lVal == CHILDID_SELF;
}

// The type library of IAccessible, oleacc's: late-bound clients reach the object's own methods through it.
constexpr GUID kLibreriaAccessibile{0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Looked up at the first request: a window nobody reads never loads them.
struct Funzioni {
    decltype(&::CreateStdAccessibleObject) creaStandard = nullptr;
    decltype(&::LresultFromObject) risultato = nullptr;
    decltype(&::CoInitializeEx) inizia = nullptr;
    decltype(&::CoUninitialize) finisci = nullptr;
    decltype(&::CoDisconnectObject) scollega = nullptr;
    decltype(&::SysAllocString) testo = nullptr;
    decltype(&::LoadRegTypeLib) libreria = nullptr;
    bool comProvato = false;  // COM is started once on the thread, at the first request
    bool comIniziato = false;

    Funzioni()
        : creaStandard(FunzioneDiSistema<decltype(creaStandard)>(L"oleacc.dll", "CreateStdAccessibleObject")),
          risultato(FunzioneDiSistema<decltype(risultato)>(L"oleacc.dll", "LresultFromObject")),
          inizia(FunzioneDiSistema<decltype(inizia)>(L"ole32.dll", "CoInitializeEx")),
          finisci(FunzioneDiSistema<decltype(finisci)>(L"ole32.dll", "CoUninitialize")),
          scollega(FunzioneDiSistema<decltype(scollega)>(L"ole32.dll", "CoDisconnectObject")),
          testo(FunzioneDiSistema<decltype(testo)>(L"oleaut32.dll", "SysAllocString")),
          libreria(FunzioneDiSistema<decltype(libreria)>(L"oleaut32.dll", "LoadRegTypeLib")) {}
    bool Tutte() const { return creaStandard && risultato && inizia && finisci && scollega && testo && libreria; }
};

}  // namespace

// Role, state, name and the absence of children are its own; the rest is the standard client object's, so that
// the window's frame and menu bar are found from it as from any window.
class OggettoAccessibile final : public IAccessible, public IOleWindow {
public:
    OggettoAccessibile(const Funzioni& funzioni, HWND finestra, FonteAccessibile& fonte, LONG ruolo,
                       IAccessible* standard) noexcept
        : funzioni_(funzioni), finestra_(finestra), fonte_(&fonte), ruolo_(ruolo), standard_(standard) {}

    // From now on every call is an error, here and through other programs' proxies.
    void Scollega() noexcept {
        fonte_ = nullptr;
        finestra_ = nullptr;
        if (standard_) standard_->Release();
        standard_ = nullptr;
        if (tipo_) tipo_->Release();
        tipo_ = nullptr;
        funzioni_.scollega(static_cast<IAccessible*>(this), 0);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** oggetto) override {
        if (!oggetto) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *oggetto = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IOleWindow)) {
            *oggetto = static_cast<IOleWindow*>(this);
        } else {
            *oggetto = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++riferimenti_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG restano = --riferimenti_;
        if (restano == 0) delete this;
        return restano;
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* finestra) override {
        if (!finestra) return E_POINTER;
        *finestra = finestra_;
        return finestra_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // Through IDispatch too the answers are this object's, by IAccessible's type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = Tipo() ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = i == 0 ? Tipo() : nullptr;
        if (!*info) return i == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* nomi, UINT n, LCID, DISPID* id) override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* tipo = Tipo();
        return tipo ? tipo->GetIDsOfNames(nomi, n, id) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flag, DISPPARAMS* p, VARIANT* r, EXCEPINFO* e,
                                     UINT* a) override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* tipo = Tipo();
        return tipo ? tipo->Invoke(static_cast<IAccessible*>(this), id, flag, p, r, e, a) : E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** genitore) override {
        return Delega([&](IAccessible& s) { return s.get_accParent(genitore); });
    }
    // The digits and colons are parts of the one face, not children of their own.
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
        if (!fonte_) return CO_E_OBJNOTCONNECTED;
        if (!n) return E_POINTER;
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** figlio) override {
        if (figlio) *figlio = nullptr;
        return fonte_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT chi, BSTR* nome) override {
        if (!fonte_) return CO_E_OBJNOTCONNECTED;
        if (!nome) return E_POINTER;
        *nome = nullptr;
        if (!Se(chi)) return E_INVALIDARG;
        *nome = funzioni_.testo(fonte_->NomeAccessibile().c_str());
        return *nome ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT chi, BSTR* valore) override {
        return Delega([&](IAccessible& s) { return s.get_accValue(chi, valore); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT chi, BSTR* descrizione) override {
        return Delega([&](IAccessible& s) { return s.get_accDescription(chi, descrizione); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT chi, VARIANT* ruolo) override {
        if (!fonte_) return CO_E_OBJNOTCONNECTED;
        if (!ruolo) return E_POINTER;
        if (!Se(chi)) return E_INVALIDARG;
        ruolo->vt = VT_I4;
        ruolo->lVal = ruolo_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT chi, VARIANT* stato) override {
        if (!standard_) return CO_E_OBJNOTCONNECTED;
        if (!stato) return E_POINTER;
        if (!Se(chi)) return E_INVALIDARG;
        VARIANT suo{};
        const LONG base = SUCCEEDED(standard_->get_accState(chi, &suo)) && suo.vt == VT_I4 ? suo.lVal : 0;
        stato->vt = VT_I4;
        stato->lVal = base | STATE_SYSTEM_READONLY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT chi, BSTR* aiuto) override {
        return Delega([&](IAccessible& s) { return s.get_accHelp(chi, aiuto); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT chi, LONG* argomento) override {
        return Delega([&](IAccessible& s) { return s.get_accHelpTopic(file, chi, argomento); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT chi, BSTR* tasti) override {
        return Delega([&](IAccessible& s) { return s.get_accKeyboardShortcut(chi, tasti); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* chi) override {
        return Delega([&](IAccessible& s) { return s.get_accFocus(chi); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* chi) override {
        return Delega([&](IAccessible& s) { return s.get_accSelection(chi); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT chi, BSTR* azione) override {
        return Delega([&](IAccessible& s) { return s.get_accDefaultAction(chi, azione); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG come, VARIANT chi) override {
        return Delega([&](IAccessible& s) { return s.accSelect(come, chi); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* larga, LONG* alta, VARIANT chi) override {
        return Delega([&](IAccessible& s) { return s.accLocation(x, y, larga, alta, chi); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG verso, VARIANT da, VARIANT* a) override {
        return Delega([&](IAccessible& s) { return s.accNavigate(verso, da, a); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* chi) override {
        return Delega([&](IAccessible& s) { return s.accHitTest(x, y, chi); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT chi) override {
        return Delega([&](IAccessible& s) { return s.accDoDefaultAction(chi); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return fonte_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return fonte_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }

private:
    ~OggettoAccessibile() = default;

    template <typename Chiamata>
    HRESULT Delega(Chiamata chiamata) {
        return standard_ ? chiamata(*standard_) : CO_E_OBJNOTCONNECTED;
    }

    // Loaded at the first late-bound call; null once the window is gone or where the library is missing.
    ITypeInfo* Tipo() {
        if (!tipo_ && !tipoCercato_ && fonte_) {
            tipoCercato_ = true;
            ITypeLib* libreria = nullptr;
            if (SUCCEEDED(funzioni_.libreria(kLibreriaAccessibile, 1, 1, LOCALE_NEUTRAL, &libreria))) {
                libreria->GetTypeInfoOfGuid(__uuidof(IAccessible), &tipo_);
                libreria->Release();
            }
        }
        return fonte_ ? tipo_ : nullptr;
    }

    const Funzioni& funzioni_;  // the program's, for its whole run
    ULONG riferimenti_ = 1;
    HWND finestra_;
    FonteAccessibile* fonte_;  // null once the window is gone
    LONG ruolo_;
    IAccessible* standard_;      // one reference, ours
    ITypeInfo* tipo_ = nullptr;  // one reference, ours
    bool tipoCercato_ = false;
};

namespace {

// Never freed, like the DLLs they point into.
Funzioni* funzioni = nullptr;

}  // namespace

bool ClientAccessibile::Rispondi(HWND finestra, WPARAM wp, LPARAM lp, LRESULT& risposta) {
    if (static_cast<LONG>(lp) != OBJID_CLIENT) return false;
    if (!oggetto_) {
        if (!funzioni) funzioni = new Funzioni;
        if (!funzioni->Tutte()) return false;
        // Handing the object to another program needs this thread in an apartment; it may be in one already.
        if (!std::exchange(funzioni->comProvato, true)) {
            funzioni->comIniziato = SUCCEEDED(funzioni->inizia(nullptr, COINIT_APARTMENTTHREADED));
        }
        IAccessible* standard = nullptr;
        if (FAILED(funzioni->creaStandard(finestra, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&standard))) ||
            !standard) {
            return false;
        }
        oggetto_ = new OggettoAccessibile(*funzioni, finestra, fonte_, ruolo_, standard);
    }
    risposta = funzioni->risultato(__uuidof(IAccessible), wp, static_cast<IAccessible*>(oggetto_));
    return true;
}

void ClientAccessibile::Chiudi() noexcept {
    if (!oggetto_) return;
    oggetto_->Scollega();
    oggetto_->Release();
    oggetto_ = nullptr;
}

FineCom::~FineCom() {
    if (funzioni && std::exchange(funzioni->comIniziato, false)) funzioni->finisci();
}

}  // namespace quilmora
