#pragma once

#include <windows.h>

#include <mmdeviceapi.h>

namespace qmx::win32 {

// The policy-config client through which Windows' own sound settings choose the default
// device. Windows documents no header for it; the published definitions (those of open audio
// tools for each Windows version) pair a class with an interface:
// - Windows 7 to 11: the client class with the Windows 7 interface;
// - Windows 10 1511 and 1507: the same class with interfaces of their own, of the Windows 7
//   layout;
// - Vista: a Vista client class with the Vista interface, which lacks ResetDeviceFormat.
// The structures below give the slots the program calls at their places in the table.
inline constexpr CLSID kPolicyConfigClient = {
    0x870af99c, 0x171d, 0x4f9e, {0xaf, 0x0d, 0xe6, 0x3d, 0xf4, 0x0c, 0x2b, 0xc9}};
inline constexpr CLSID kPolicyConfigVistaClient = {
    0x294935ce, 0xf637, 0x4e7c, {0xa4, 0x1b, 0xab, 0x25, 0x54, 0x60, 0xb8, 0x62}};
inline constexpr IID kPolicyConfigWindows7 = {
    0xf8679f50, 0x850a, 0x41cf, {0x9c, 0x72, 0x43, 0x0f, 0x29, 0x02, 0x90, 0xc8}};
inline constexpr IID kPolicyConfigWindows10_1511 = {
    0x6be54be8, 0xa068, 0x4875, {0xa4, 0x9d, 0x0c, 0x29, 0x66, 0x47, 0x3b, 0x11}};
inline constexpr IID kPolicyConfigWindows10_1507 = {
    0xca286fc3, 0x91fd, 0x42c3, {0x8e, 0x9b, 0xca, 0xaf, 0xa6, 0x62, 0x42, 0xe3}};
inline constexpr IID kPolicyConfigVista = {
    0x568b9108, 0x44bf, 0x40b4, {0x90, 0x06, 0x86, 0xaf, 0xe5, 0xb5, 0xa6, 0x20}};

struct PolicyConfigPairing {
    const CLSID& clientClass;
    const IID& interfaceId;
    bool vistaLayout;
    const char* name;  // for the log
};
// In the order they are tried.
inline constexpr PolicyConfigPairing kPolicyConfigPairings[] = {
    {kPolicyConfigClient, kPolicyConfigWindows7, false, "the Windows 7 policy config"},
    {kPolicyConfigClient, kPolicyConfigWindows10_1511, false, "the Windows 10 1511 policy config"},
    {kPolicyConfigClient, kPolicyConfigWindows10_1507, false, "the Windows 10 1507 policy config"},
    {kPolicyConfigVistaClient, kPolicyConfigVista, true, "the Vista policy config"},
};

struct PolicyConfigWindows7 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetMixFormat(PCWSTR, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeviceFormat(PCWSTR, INT, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetDeviceFormat(PCWSTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDeviceFormat(PCWSTR, void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProcessingPeriod(PCWSTR, INT, PINT64, PINT64) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetProcessingPeriod(PCWSTR, PINT64) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetShareMode(PCWSTR, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetShareMode(PCWSTR, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropertyValue(PCWSTR, const PROPERTYKEY&,
                                                       PROPVARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPropertyValue(PCWSTR, const PROPERTYKEY&,
                                                       PROPVARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDefaultEndpoint(PCWSTR deviceId, ERole role) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEndpointVisibility(PCWSTR, INT) = 0;
};

struct PolicyConfigVista : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetMixFormat(PCWSTR, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeviceFormat(PCWSTR, INT, void**) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDeviceFormat(PCWSTR, void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProcessingPeriod(PCWSTR, INT, PINT64, PINT64) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetProcessingPeriod(PCWSTR, PINT64) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetShareMode(PCWSTR, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetShareMode(PCWSTR, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropertyValue(PCWSTR, const PROPERTYKEY&,
                                                       PROPVARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPropertyValue(PCWSTR, const PROPERTYKEY&,
                                                       PROPVARIANT*) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDefaultEndpoint(PCWSTR deviceId, ERole role) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEndpointVisibility(PCWSTR, INT) = 0;
};

}  // namespace qmx::win32
