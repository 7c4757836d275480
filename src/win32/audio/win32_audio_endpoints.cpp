#include "win32/audio/win32_audio_endpoints.h"

// clang-format off
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <audioclient.h>
#include <propsys.h>
// clang-format on

#include <atomic>
#include <iterator>
#include <vector>

#include "win32/audio/policy_config.h"
#include "win32/system/unique_handle.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

namespace {

constexpr const char* kWindowClass = "QmxAudioDevices";
constexpr UINT kDevicesChanged = WM_APP + 1;
constexpr PROPERTYKEY kFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};

std::uint32_t codeOf(HRESULT hr) {
    return static_cast<std::uint32_t>(hr);
}

ERole roleOf(platform::Role role) {
    switch (role) {
        case platform::Role::Multimedia:
            return eMultimedia;
        case platform::Role::Communications:
            return eCommunications;
        default:
            return eConsole;
    }
}

bool isFriendlyName(const PROPERTYKEY& key) {
    return key.fmtid == kFriendlyName.fmtid && key.pid == kFriendlyName.pid;
}

class EndpointVolumeObject : public platform::EndpointVolume {
public:
    explicit EndpointVolumeObject(ComPtr<IAudioEndpointVolume> volume)
        : volume_(std::move(volume)) {}

    std::uint32_t masterScalar(float& scalar) override {
        return codeOf(volume_->GetMasterVolumeLevelScalar(&scalar));
    }
    std::uint32_t setMasterScalar(float scalar) override {
        return codeOf(volume_->SetMasterVolumeLevelScalar(scalar, nullptr));
    }
    std::uint32_t mute(bool& muted) override {
        BOOL value = FALSE;
        const HRESULT hr = volume_->GetMute(&value);
        if (SUCCEEDED(hr)) muted = value != FALSE;
        return codeOf(hr);
    }
    std::uint32_t setMute(bool muted) override {
        return codeOf(volume_->SetMute(muted ? TRUE : FALSE, nullptr));
    }

private:
    ComPtr<IAudioEndpointVolume> volume_;
};

}  // namespace

// Called by the audio service on its own threads: it only posts to the hidden window.
class DeviceNotifications final : public IMMNotificationClient {
public:
    explicit DeviceNotifications(HWND window) : window_(window) {}

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMMNotificationClient)) {
            *object = static_cast<IMMNotificationClient*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
        if (flow == eRender && role == eConsole) post();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override {
        post();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override {
        post();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override {
        post();
        return S_OK;
    }
    // Windows reports many properties; only a new name matters here.
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY key) override {
        if (isFriendlyName(key)) post();
        return S_OK;
    }

    // A client the enumerator would not let go of stays alive, silent.
    void detach() { window_ = nullptr; }

private:
    void post() {
        if (HWND window = window_) PostMessageA(window, kDevicesChanged, 0, 0);
    }

    std::atomic<HWND> window_;
    std::atomic<ULONG> references_{1};
};

struct Win32AudioEndpoints::Com {
    ComPtr<IMMDeviceEnumerator> enumerator;
    DeviceNotifications* notifications = nullptr;  // registered with the enumerator
    // Registrations an enumerator would not end, each with its enumerator.
    struct Refused {
        ComPtr<IMMDeviceEnumerator> enumerator;
        DeviceNotifications* notifications;
    };
    std::vector<Refused> refused;
};

Win32AudioEndpoints::Win32AudioEndpoints(HINSTANCE instance)
    : instance_(instance), com_(std::make_unique<Com>()) {}

Win32AudioEndpoints::~Win32AudioEndpoints() {
    stopWatching();
    unregisterRefused();
    com_.reset();
    if (window_) DestroyWindow(window_);
    UnregisterClassA(kWindowClass, instance_);
}

HRESULT Win32AudioEndpoints::enumerator() {
    if (com_->enumerator.get()) return S_OK;
    return CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                            __uuidof(IMMDeviceEnumerator), com_->enumerator.putVoid());
}

// The device looked up by id, through the enumerator made when first needed.
HRESULT Win32AudioEndpoints::device(const std::string& id, ComPtr<IMMDevice>& device) {
    const HRESULT hr = enumerator();
    if (FAILED(hr)) return hr;
    return com_->enumerator->GetDevice(widen(id).c_str(), device.put());
}

// E_NOTFOUND when no output is active ("IMMDeviceEnumerator::GetDefaultAudioEndpoint").
std::uint32_t Win32AudioEndpoints::defaultOutput(platform::Role role, std::string& id) {
    HRESULT hr = enumerator();
    if (FAILED(hr)) return codeOf(hr);
    ComPtr<IMMDevice> device;
    hr = com_->enumerator->GetDefaultAudioEndpoint(eRender, roleOf(role), device.put());
    if (FAILED(hr)) return codeOf(hr);
    LPWSTR text = nullptr;
    hr = device->GetId(&text);
    if (FAILED(hr)) return codeOf(hr);
    id = utf8Of(text);
    CoTaskMemFree(text);
    return 0;
}

// The render devices in the states of `mask`, and how many there are.
HRESULT Win32AudioEndpoints::renderDevices(DWORD mask, ComPtr<IMMDeviceCollection>& devices,
                                           UINT& count) {
    HRESULT hr = enumerator();
    if (FAILED(hr)) return hr;
    hr = com_->enumerator->EnumAudioEndpoints(eRender, mask, devices.put());
    if (FAILED(hr)) return hr;
    return devices->GetCount(&count);
}

std::uint32_t Win32AudioEndpoints::activeOutputs(std::vector<platform::OutputDevice>& outputs) {
    ComPtr<IMMDeviceCollection> devices;
    UINT count = 0;
    const HRESULT hr = renderDevices(DEVICE_STATE_ACTIVE, devices, count);
    if (FAILED(hr)) return codeOf(hr);
    outputs.clear();
    for (UINT i = 0; i < count; ++i) {
        ComPtr<IMMDevice> device;
        LPWSTR id = nullptr;
        if (FAILED(devices->Item(i, device.put())) || FAILED(device->GetId(&id))) continue;
        platform::OutputDevice output{utf8Of(id), {}};
        CoTaskMemFree(id);
        friendlyName(output.id, output.name);
        outputs.push_back(std::move(output));
    }
    return 0;
}

// Through the policy-config pairing this Windows offers, the one that answered last time first
// (so that one switch does not ask again for each role the pairings Windows lacks); a refusal of
// the switch itself is the system's answer. A pairing this Windows lacks answers CoCreateInstance
// with REGDB_E_CLASSNOTREG (the class) or E_NOINTERFACE (the interface), Microsoft's
// "CoCreateInstance" return values; when no pairing answers, the answer is the same whichever was
// tried last. Any other code (CO_E_NOTINITIALIZED, E_ACCESSDENIED, E_OUTOFMEMORY) comes from a
// class that is there and is the system's answer.
std::uint32_t Win32AudioEndpoints::setDefaultOutput(platform::Role role, const std::string& id) {
    policyConfigInUse_ = nullptr;
    const std::wstring device = widen(id);
    constexpr std::size_t kPairings = std::size(kPolicyConfigPairings);
    for (std::size_t tried = 0; tried < kPairings; ++tried) {
        const std::size_t index = (policyPairing_ + tried) % kPairings;
        const PolicyConfigPairing& pairing = kPolicyConfigPairings[index];
        ComPtr<IUnknown> config;
        const HRESULT made = CoCreateInstance(pairing.clientClass, nullptr, CLSCTX_ALL,
                                              pairing.interfaceId, config.putVoid());
        if (made == REGDB_E_CLASSNOTREG || made == E_NOINTERFACE) continue;
        policyConfigInUse_ = pairing.name;
        if (FAILED(made)) return codeOf(made);
        policyPairing_ = index;
        const HRESULT hr = pairing.vistaLayout
                               ? static_cast<PolicyConfigVista*>(config.get())
                                     ->SetDefaultEndpoint(device.c_str(), roleOf(role))
                               : static_cast<PolicyConfigWindows7*>(config.get())
                                     ->SetDefaultEndpoint(device.c_str(), roleOf(role));
        if (FAILED(hr)) return codeOf(hr);
        // The system's own notice arrives on another thread a little later.
        if (role == platform::Role::Console && changed_) changed_();
        return 0;
    }
    return platform::kNoPolicyConfig;
}

std::string Win32AudioEndpoints::policyConfigInUse() const {
    return policyConfigInUse_ ? policyConfigInUse_ : "";
}

std::uint32_t Win32AudioEndpoints::installedOutputs(std::size_t& count) {
    ComPtr<IMMDeviceCollection> devices;
    UINT found = 0;
    const HRESULT hr = renderDevices(DEVICE_STATEMASK_ALL, devices, found);
    if (FAILED(hr)) return codeOf(hr);
    count = found;
    return 0;
}

// A device that is no longer active answers as gone, as its volume object would.
std::uint32_t Win32AudioEndpoints::activateVolume(
    const std::string& id, std::unique_ptr<platform::EndpointVolume>& volume) {
    ComPtr<IMMDevice> device;
    HRESULT hr = this->device(id, device);
    if (FAILED(hr)) return codeOf(hr);
    DWORD state = 0;
    if (SUCCEEDED(device->GetState(&state)) && state != DEVICE_STATE_ACTIVE) {
        return platform::kAudioDeviceInvalidated;
    }
    ComPtr<IAudioEndpointVolume> endpointVolume;
    hr = device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                          endpointVolume.putVoid());
    if (FAILED(hr)) return codeOf(hr);
    volume = std::make_unique<EndpointVolumeObject>(std::move(endpointVolume));
    return 0;
}

// A device just plugged in may have no name yet: the property is then absent, which GetValue
// answers with S_OK and VT_EMPTY (Microsoft, "IPropertyStore::GetValue", Remarks), or a string
// without text. Either is a name without text; another type is a failure.
std::uint32_t Win32AudioEndpoints::friendlyName(const std::string& id, std::string& name) {
    ComPtr<IMMDevice> device;
    HRESULT hr = this->device(id, device);
    if (FAILED(hr)) return codeOf(hr);
    ComPtr<IPropertyStore> store;
    hr = device->OpenPropertyStore(STGM_READ, store.put());
    if (FAILED(hr)) return codeOf(hr);
    PROPVARIANT value;
    PropVariantInit(&value);
    hr = store->GetValue(kFriendlyName, &value);
    if (SUCCEEDED(hr)) {
        if (value.vt == VT_LPWSTR && value.pwszVal) {
            name = utf8Of(value.pwszVal);
        } else if (value.vt == VT_EMPTY || value.vt == VT_LPWSTR) {
            name.clear();
        } else {
            hr = DISP_E_TYPEMISMATCH;
        }
    }
    PropVariantClear(&value);
    return codeOf(hr);
}

bool Win32AudioEndpoints::watchChanges(std::function<void()> changed) {
    stopWatching();
    changed_ = std::move(changed);
    return changed_ && startWatching();
}

bool Win32AudioEndpoints::reconnect() {
    stopWatching();
    unregisterRefused();
    com_->enumerator = {};
    return changed_ && startWatching();
}

bool Win32AudioEndpoints::startWatching() {
    if (FAILED(enumerator())) return false;
    if (window_ == nullptr) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.hInstance = instance_;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassExA(&windowClass);
        window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance_, nullptr);
        if (window_ == nullptr) return false;
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    auto* notifications = new DeviceNotifications(window_);
    if (FAILED(com_->enumerator->RegisterEndpointNotificationCallback(notifications))) {
        notifications->Release();
        return false;
    }
    com_->notifications = notifications;
    return true;
}

// Registering takes no reference of its own (Microsoft, "IMMDeviceEnumerator::
// RegisterEndpointNotificationCallback", Remarks): a client that the enumerator refuses to
// unregister may still be called, so it is kept, detached from the window, rather than freed
// under the caller. Its enumerator is kept with it: Microsoft's older text of the same page says
// that a client released while registered leaks what the client and the enumerator hold, so the
// unregistering is asked again at each new connection and both are released once it ends.
void Win32AudioEndpoints::stopWatching() {
    if (com_ && com_->notifications) {
        if (SUCCEEDED(
                com_->enumerator->UnregisterEndpointNotificationCallback(com_->notifications))) {
            com_->notifications->Release();
        } else {
            com_->notifications->detach();
            com_->refused.push_back({com_->enumerator.share(), com_->notifications});
        }
        com_->notifications = nullptr;
    }
}

// A client still refused when the program ends stays alive: the service may still call it.
void Win32AudioEndpoints::unregisterRefused() {
    if (!com_) return;
    std::erase_if(com_->refused, [](Com::Refused& refused) {
        if (FAILED(refused.enumerator->UnregisterEndpointNotificationCallback(
                refused.notifications))) {
            return false;
        }
        refused.notifications->Release();
        return true;
    });
}

LRESULT CALLBACK Win32AudioEndpoints::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
    if (message == kDevicesChanged) {
        auto* self =
            reinterpret_cast<Win32AudioEndpoints*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && self->changed_) self->changed_();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qmx::win32
