// Stand-in for the driver's two plug-ins, VarnekUI.dll (user interface) and
// VarnekUni.dll (rendering), which the plug-in list VarnekUI.ini names. The
// universal driver asks a plug-in for its objects through these two COM
// entry points; the stand-in has none to give, so the driver runs without
// plug-ins. The vendor's plug-ins replace it.
#include <windows.h>

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* ppv)
{
    if (ppv)
        *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return S_OK;
}
