// The simulated device enumerator, devices, their volume objects and the policy-config client,
// answering the Core Audio calls a program makes from the shared state. What is not simulated
// (an audio client that plays sound) goes on to Wine's own default device.
#include <windows.h>

#include <initguid.h>
// clang-format off
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <audioclient.h>
#include <propsys.h>
// clang-format on

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "notifier.h"
#include "policy_config.h"
#include "sim_state.h"

namespace audiosim {

namespace {

constexpr PROPERTYKEY kFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
constexpr HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

std::uint32_t currentEpoch() {
    Transaction sim;
    return sim.state().epoch;
}

wchar_t* taskText(const wchar_t* text) {
    const std::size_t size = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(size));
    if (copy) memcpy(copy, text, size);
    return copy;
}

// Reference counting for the objects below; each names its interfaces in answer().
template <typename Self>
class Counted {
public:
    Counted() = default;
    virtual ~Counted() = default;
    ULONG addRef() { return ++references_; }
    ULONG release() {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<ULONG> references_{1};
};

#define AUDIOSIM_UNKNOWN                                                        \
    ULONG STDMETHODCALLTYPE AddRef() override {                                 \
        return addRef();                                                        \
    }                                                                           \
    ULONG STDMETHODCALLTYPE Release() override {                                \
        return release();                                                       \
    }                                                                           \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { \
        if (out == nullptr) return E_POINTER;                                   \
        *out = answer(iid);                                                     \
        if (*out == nullptr) return E_NOINTERFACE;                              \
        addRef();                                                               \
        return S_OK;                                                            \
    }

// Wine's own enumerator, for what the simulator hands on.
IMMDeviceEnumerator* wineEnumerator() {
    static IMMDeviceEnumerator* enumerator = [] {
        IMMDeviceEnumerator* result = nullptr;
        HMODULE module = LoadLibraryExW(L"mmdevapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr) return result;
        using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
        auto get = reinterpret_cast<GetClassObject>(
            reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
        IClassFactory* factory = nullptr;
        if (get && SUCCEEDED(get(__uuidof(MMDeviceEnumerator), IID_IClassFactory,
                                 reinterpret_cast<void**>(&factory)))) {
            factory->CreateInstance(nullptr, __uuidof(IMMDeviceEnumerator),
                                    reinterpret_cast<void**>(&result));
            factory->Release();
        }
        return result;
    }();
    return enumerator;
}

class Volume final : public IAudioEndpointVolume, Counted<Volume> {
public:
    Volume(std::uint32_t epoch, std::wstring id, std::uint32_t generation)
        : epoch_(epoch), id_(std::move(id)), generation_(generation) {}
    AUDIOSIM_UNKNOWN

    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float* level) override {
        return call(Method::GetMasterVolumeLevelScalar, [&](Transaction&, Device& d) {
            if (level == nullptr) return E_POINTER;
            *level = d.level;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float level, LPCGUID) override {
        return call(Method::SetMasterVolumeLevelScalar, [&](Transaction& sim, Device& d) {
            if (!(level >= 0.0f && level <= 1.0f)) return E_INVALIDARG;
            d.level = level;
            sim.commit();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE GetMute(BOOL* muted) override {
        return call(Method::GetMute, [&](Transaction&, Device& d) {
            if (muted == nullptr) return E_POINTER;
            *muted = d.mute ? TRUE : FALSE;
            return S_OK;
        });
    }
    // S_FALSE when the state was already the one asked for, as documented.
    HRESULT STDMETHODCALLTYPE SetMute(BOOL muted, LPCGUID) override {
        return call(Method::SetMute, [&](Transaction& sim, Device& d) {
            const std::uint32_t value = muted ? 1 : 0;
            if (d.mute == value) return S_FALSE;
            d.mute = value;
            sim.commit();
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE
    UnregisterControlChangeNotify(IAudioEndpointVolumeCallback*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetChannelCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, float, LPCGUID) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, float, LPCGUID) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, float*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, float*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT*, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVolumeRange(float*, float*, float*) override { return E_NOTIMPL; }

private:
    void* answer(REFIID iid) {
        if (iid == IID_IUnknown || iid == __uuidof(IAudioEndpointVolume)) {
            return static_cast<IAudioEndpointVolume*>(this);
        }
        return nullptr;
    }
    // The volume of one appearance of its device: once the device was removed the object is
    // invalid for good, even after the device came back.
    template <typename Action>
    HRESULT call(Method method, Action&& action) {
        Transaction sim;
        const HRESULT gated = sim.gate(epoch_, method);
        if (FAILED(gated)) return gated;
        const int device = sim.find(id_.c_str());
        if (!sim.usable(device, generation_)) return AUDCLNT_E_DEVICE_INVALIDATED;
        return action(sim, sim.state().devices[device]);
    }

    std::uint32_t epoch_;
    std::wstring id_;
    std::uint32_t generation_;
};

class PropertyStore final : public IPropertyStore, Counted<PropertyStore> {
public:
    PropertyStore(std::uint32_t epoch, std::wstring id) : epoch_(epoch), id_(std::move(id)) {}
    AUDIOSIM_UNKNOWN

    HRESULT STDMETHODCALLTYPE GetCount(DWORD* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAt(DWORD index, PROPERTYKEY* key) override {
        if (key == nullptr) return E_POINTER;
        if (index != 0) return E_INVALIDARG;
        *key = kFriendlyName;
        return S_OK;
    }
    // The friendly name unless the device has none yet; any other property is absent
    // (VT_EMPTY), as the documentation allows.
    HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override {
        if (value == nullptr) return E_POINTER;
        PropVariantInit(value);
        Transaction sim;
        const HRESULT gated = sim.gate(epoch_, Method::GetValue);
        if (FAILED(gated)) return gated;
        const int device = sim.find(id_.c_str());
        if (device < 0) return kNotFound;
        if (key.fmtid == kFriendlyName.fmtid && key.pid == kFriendlyName.pid &&
            !sim.state().devices[device].nameless) {
            // A name without text is the property with a null pointer, as some drivers give.
            const wchar_t* name = sim.state().devices[device].name;
            value->vt = VT_LPWSTR;
            value->pwszVal = *name ? taskText(name) : nullptr;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override {
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE Commit() override { return STG_E_ACCESSDENIED; }

private:
    void* answer(REFIID iid) {
        if (iid == IID_IUnknown || iid == __uuidof(IPropertyStore)) {
            return static_cast<IPropertyStore*>(this);
        }
        return nullptr;
    }

    std::uint32_t epoch_;
    std::wstring id_;
};

class DeviceObject final : public IMMDevice, public IMMEndpoint, Counted<DeviceObject> {
public:
    DeviceObject(std::uint32_t epoch, std::wstring id) : epoch_(epoch), id_(std::move(id)) {}
    AUDIOSIM_UNKNOWN

    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD context, PROPVARIANT* parameters,
                                       void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        std::uint32_t generation = 0;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::Activate);
            if (FAILED(gated)) return gated;
            const int device = sim.find(id_.c_str());
            if (device < 0) return kNotFound;
            generation = sim.state().devices[device].generation;
            if (!sim.usable(device, generation)) return AUDCLNT_E_DEVICE_INVALIDATED;
        }
        if (iid == __uuidof(IAudioEndpointVolume)) {
            *out = static_cast<IAudioEndpointVolume*>(new Volume(epoch_, id_, generation));
            return S_OK;
        }
        // Playing sound is Wine's: its default device does it for every simulated one.
        IMMDeviceEnumerator* wine = wineEnumerator();
        if (wine == nullptr) return E_NOINTERFACE;
        IMMDevice* real = nullptr;
        HRESULT hr = wine->GetDefaultAudioEndpoint(eRender, eConsole, &real);
        if (FAILED(hr)) return hr;
        hr = real->Activate(iid, context, parameters, out);
        real->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** store) override {
        if (store == nullptr) return E_POINTER;
        *store = nullptr;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::OpenPropertyStore);
            if (FAILED(gated)) return gated;
            if (sim.find(id_.c_str()) < 0) return kNotFound;
        }
        *store = new PropertyStore(epoch_, id_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override {
        if (id == nullptr) return E_POINTER;
        *id = nullptr;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::GetId);
            if (FAILED(gated)) return gated;
        }
        *id = taskText(id_.c_str());
        return *id ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetState(DWORD* state) override {
        if (state == nullptr) return E_POINTER;
        Transaction sim;
        const HRESULT gated = sim.gate(epoch_, Method::GetState);
        if (FAILED(gated)) return gated;
        const int device = sim.find(id_.c_str());
        if (device < 0) return kNotFound;
        *state = sim.state().devices[device].state;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataFlow(EDataFlow* flow) override {
        if (flow == nullptr) return E_POINTER;
        *flow = eRender;
        return S_OK;
    }

private:
    void* answer(REFIID iid) {
        if (iid == IID_IUnknown || iid == __uuidof(IMMDevice)) return static_cast<IMMDevice*>(this);
        if (iid == __uuidof(IMMEndpoint)) return static_cast<IMMEndpoint*>(this);
        return nullptr;
    }

    std::uint32_t epoch_;
    std::wstring id_;
};

// One object per device and service life, as Wine's own enumerator hands out: its sound layer
// tells the default device apart from the others by the object's address.
IMMDevice* deviceObject(std::uint32_t epoch, const std::wstring& id) {
    static CRITICAL_SECTION lock = [] {
        CRITICAL_SECTION section;
        InitializeCriticalSection(&section);
        return section;
    }();
    static std::map<std::pair<std::uint32_t, std::wstring>, DeviceObject*> objects;
    EnterCriticalSection(&lock);
    DeviceObject*& object = objects[{epoch, id}];
    if (object == nullptr) object = new DeviceObject(epoch, id);  // the map keeps its reference
    object->AddRef();
    LeaveCriticalSection(&lock);
    return object;
}

class Collection final : public IMMDeviceCollection, Counted<Collection> {
public:
    Collection(std::uint32_t epoch, std::vector<std::wstring> ids)
        : epoch_(epoch), ids_(std::move(ids)) {}
    AUDIOSIM_UNKNOWN

    HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::GetCount);
            if (FAILED(gated)) return gated;
        }
        *count = static_cast<UINT>(ids_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(UINT index, IMMDevice** device) override {
        if (device == nullptr) return E_POINTER;
        *device = nullptr;
        if (index >= ids_.size()) return E_INVALIDARG;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::Item);
            if (FAILED(gated)) return gated;
        }
        *device = deviceObject(epoch_, ids_[index]);
        return S_OK;
    }

private:
    void* answer(REFIID iid) {
        if (iid == IID_IUnknown || iid == __uuidof(IMMDeviceCollection)) {
            return static_cast<IMMDeviceCollection*>(this);
        }
        return nullptr;
    }

    std::uint32_t epoch_;
    std::vector<std::wstring> ids_;
};

class Enumerator final : public IMMDeviceEnumerator, Counted<Enumerator> {
public:
    explicit Enumerator(std::uint32_t epoch) : epoch_(epoch) {}
    AUDIOSIM_UNKNOWN

    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow flow, DWORD mask,
                                                 IMMDeviceCollection** devices) override {
        if (devices == nullptr) return E_POINTER;
        *devices = nullptr;
        if (flow < eRender || flow > eAll || mask == 0 || (mask & ~DEVICE_STATEMASK_ALL)) {
            return E_INVALIDARG;
        }
        std::vector<std::wstring> ids;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::EnumAudioEndpoints);
            if (FAILED(gated)) return gated;
            const State& state = sim.state();
            for (std::uint32_t i = 0; flow != eCapture && i < state.deviceCount; ++i) {
                if (state.devices[i].state & mask) ids.emplace_back(state.devices[i].id);
            }
        }
        *devices = new Collection(epoch_, std::move(ids));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole role,
                                                      IMMDevice** device) override {
        if (device == nullptr) return E_POINTER;
        *device = nullptr;
        if (flow < eRender || flow > eAll || role < eConsole || role > eCommunications) {
            return E_INVALIDARG;
        }
        std::wstring id;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::GetDefaultAudioEndpoint);
            if (FAILED(gated)) return gated;
            const int index = sim.state().defaults[role];
            if (flow != eRender || index < 0) return kNotFound;
            id = sim.state().devices[index].id;
        }
        *device = deviceObject(epoch_, id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR id, IMMDevice** device) override {
        if (device == nullptr || id == nullptr) return E_POINTER;
        *device = nullptr;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::GetDevice);
            if (FAILED(gated)) return gated;
            if (sim.find(id) < 0) return kNotFound;
        }
        *device = deviceObject(epoch_, id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    RegisterEndpointNotificationCallback(IMMNotificationClient* client) override {
        if (client == nullptr) return E_POINTER;
        std::uint32_t seen = 0;
        {
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::RegisterEndpointNotificationCallback);
            if (FAILED(gated)) return gated;
            seen = sim.state().eventSeq;
        }
        Notifier::instance().add(client, epoch_, seen);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    UnregisterEndpointNotificationCallback(IMMNotificationClient* client) override {
        if (client == nullptr) return E_POINTER;
        {
            // A refusal leaves the client registered: it may still be called.
            Transaction sim;
            const HRESULT gated = sim.gate(epoch_, Method::UnregisterEndpointNotificationCallback);
            if (FAILED(gated)) return gated;
        }
        return Notifier::instance().remove(client) ? S_OK : E_NOTFOUND;
    }

private:
    void* answer(REFIID iid) {
        if (iid == IID_IUnknown || iid == __uuidof(IMMDeviceEnumerator)) {
            return static_cast<IMMDeviceEnumerator*>(this);
        }
        return nullptr;
    }

    std::uint32_t epoch_;
};

// The interface the Windows 7 class answers on each simulated Windows; none on Vista.
const IID* windows7ClassInterface(Policy policy) {
    switch (policy) {
        case Policy::Windows7:
            return &kIidPolicyConfig;
        case Policy::Windows10_1511:
            return &kIidPolicyConfig1511;
        case Policy::Windows10_1507:
            return &kIidPolicyConfig1507;
        default:
            return nullptr;
    }
}

Policy currentPolicy() {
    Transaction sim;
    return sim.state().policy;
}

// One object for both classes: the Vista class answers the Vista interface, the Windows 7 class
// the one interface of the simulated Windows version.
class PolicyConfig final : public IPolicyConfig, public IPolicyConfigVista, Counted<PolicyConfig> {
public:
    PolicyConfig(std::uint32_t epoch, bool vistaClass, Policy policy)
        : epoch_(epoch), vistaClass_(vistaClass), policy_(policy) {}
    AUDIOSIM_UNKNOWN

    HRESULT STDMETHODCALLTYPE SetDefaultEndpoint(PCWSTR id, ERole role) override {
        if (id == nullptr) return E_POINTER;
        if (role < eConsole || role > eCommunications) return E_INVALIDARG;
        Transaction sim;
        const HRESULT gated = sim.gate(epoch_, Method::SetDefaultEndpoint);
        if (FAILED(gated)) return gated;
        const int device = sim.find(id);
        if (device < 0) return kNotFound;
        if (sim.state().devices[device].state != DEVICE_STATE_ACTIVE) {
            return AUDCLNT_E_DEVICE_INVALIDATED;
        }
        sim.setDefault(device, role);
        sim.commit();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMixFormat(PCWSTR, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDeviceFormat(PCWSTR, INT, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResetDeviceFormat(PCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDeviceFormat(PCWSTR, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProcessingPeriod(PCWSTR, INT, PINT64, PINT64) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetProcessingPeriod(PCWSTR, PINT64) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetShareMode(PCWSTR, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetShareMode(PCWSTR, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PCWSTR, const PROPERTYKEY&, PROPVARIANT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPropertyValue(PCWSTR, const PROPERTYKEY&, PROPVARIANT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetEndpointVisibility(PCWSTR, INT) override { return E_NOTIMPL; }

private:
    void* answer(REFIID iid) {
        if (iid == IID_IUnknown) return static_cast<IPolicyConfig*>(this);
        if (vistaClass_) {
            return iid == kIidPolicyConfigVista ? static_cast<IPolicyConfigVista*>(this) : nullptr;
        }
        const IID* offered = windows7ClassInterface(policy_);
        return offered && iid == *offered ? static_cast<IPolicyConfig*>(this) : nullptr;
    }

    std::uint32_t epoch_;
    bool vistaClass_;
    Policy policy_;
};

enum class Served { Enumerator, PolicyConfig, PolicyConfigVista };

class Factory final : public IClassFactory, Counted<Factory> {
public:
    explicit Factory(Served served) : served_(served) {}
    AUDIOSIM_UNKNOWN

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        if (served_ != Served::Enumerator) {
            Transaction sim;
            const HRESULT refused = sim.injected(Method::CreatePolicyConfig);
            if (FAILED(refused)) return refused;
        }
        IUnknown* object =
            served_ == Served::Enumerator
                ? static_cast<IUnknown*>(new Enumerator(currentEpoch()))
                : static_cast<IUnknown*>(static_cast<IPolicyConfig*>(new PolicyConfig(
                      currentEpoch(), served_ == Served::PolicyConfigVista, currentPolicy())));
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    void* answer(REFIID iid) {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            return static_cast<IClassFactory*>(this);
        }
        return nullptr;
    }

    Served served_;
};

}  // namespace

}  // namespace audiosim

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    using audiosim::Policy;
    using audiosim::Served;
    const Policy policy = audiosim::currentPolicy();
    Served served = Served::Enumerator;
    if (clsid == kClsidPolicyConfig && policy != Policy::Vista) {
        served = Served::PolicyConfig;
    } else if (clsid == kClsidPolicyConfigVista && policy == Policy::Vista) {
        served = Served::PolicyConfigVista;
    } else if (clsid != __uuidof(MMDeviceEnumerator)) {
        // Not registered on the simulated Windows version: CoCreateInstance answers so for a
        // class without a registration (Microsoft, "CoCreateInstance", return values).
        return REGDB_E_CLASSNOTREG;
    }
    auto* factory = new audiosim::Factory(served);
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

// The notification thread may hold the simulator's code at any time: it stays loaded.
extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return S_FALSE;
}
