#include "sim_state.h"

#include <audioclient.h>
#include <mmdeviceapi.h>

#include <cstdio>
#include <cwchar>
#include <iterator>

namespace audiosim {

namespace {

constexpr std::uint32_t kMagic = 0x51534D33;  // "QSM3"

std::wstring stateFile() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length) + L"\\audiosim.dat";
}

void copyText(wchar_t* target, std::size_t size, const wchar_t* text) {
    wcsncpy(target, text, size - 1);
    target[size - 1] = L'\0';
}

}  // namespace

std::uint64_t now() {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

volatile LONG* lastEventNumber() {
    // The mapping stays open for the process's life: the page lives while any process holds it.
    static volatile LONG* const page = [] {
        HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(LONG), L"QmxAudioSimulatorEvents");
        void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)) : nullptr;
        return static_cast<volatile LONG*>(view);
    }();
    return page;
}

const wchar_t* methodName(Method method) {
    static const wchar_t* const names[] = {L"GetDefaultAudioEndpoint",
                                           L"Activate",
                                           L"GetMasterVolumeLevelScalar",
                                           L"SetMasterVolumeLevelScalar",
                                           L"GetMute",
                                           L"SetMute",
                                           L"SetDefaultEndpoint",
                                           L"EnumAudioEndpoints",
                                           L"GetDevice",
                                           L"RegisterEndpointNotificationCallback",
                                           L"UnregisterEndpointNotificationCallback",
                                           L"GetId",
                                           L"GetState",
                                           L"OpenPropertyStore",
                                           L"GetValue",
                                           L"GetCount",
                                           L"Item",
                                           L"CreatePolicyConfig"};
    static_assert(std::size(names) == static_cast<std::size_t>(Method::Count));
    return names[static_cast<int>(method)];
}

const wchar_t* policyName(Policy policy) {
    static const wchar_t* const names[] = {L"win7", L"vista", L"win10-1511", L"win10-1507"};
    return names[static_cast<int>(policy)];
}

const wchar_t* roleName(int role) {
    static const wchar_t* const names[] = {L"console", L"multimedia", L"communications"};
    return names[role];
}

// Another process may hold the file for an instant (a virus scanner on Windows, a process that
// is being ended): the state is read again rather than taken for missing, which a later commit
// would write over every device. Only a prefix without the file starts from the reset state.
Transaction::Transaction() : mutex_(CreateMutexW(nullptr, FALSE, L"QmxAudioSimulatorState")) {
    WaitForSingleObject(mutex_, INFINITE);
    DWORD read = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileW(stateFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) break;
        if (file != INVALID_HANDLE_VALUE) {
            const BOOL ok = ReadFile(file, &state_, sizeof(state_), &read, nullptr);
            CloseHandle(file);
            if (ok && read == sizeof(state_) && state_.magic == kMagic) return;
        }
        Sleep(10);
    }
    state_ = State{};
    state_.magic = kMagic;
    state_.lossCode = AUDCLNT_E_DEVICE_INVALIDATED;
    for (auto& role : state_.defaults) role = -1;
    reset();
}

Transaction::~Transaction() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

bool Transaction::commit() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file =
            CreateFileW(stateFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = WriteFile(file, &state_, sizeof(state_), &written, nullptr);
            CloseHandle(file);
            if (ok && written == sizeof(state_)) {
                if (volatile LONG* number = lastEventNumber()) {
                    InterlockedExchange(number, static_cast<LONG>(state_.eventSeq));
                }
                return true;
            }
        }
        Sleep(10);
    }
    return false;
}

HRESULT Transaction::gate(std::uint32_t objectEpoch) {
    if (now() < state_.outageUntil) return AUDCLNT_E_SERVICE_NOT_RUNNING;
    if (objectEpoch != state_.epoch) return state_.lossCode;
    return S_OK;
}

HRESULT Transaction::gate(std::uint32_t objectEpoch, Method method) {
    const HRESULT hr = gate(objectEpoch);
    if (FAILED(hr)) return hr;
    return injected(method);
}

HRESULT Transaction::injected(Method method) {
    Failure& failure = state_.failures[static_cast<int>(method)];
    if (failure.count == 0) return S_OK;
    --failure.count;
    commit();
    return failure.hr;
}

int Transaction::find(const wchar_t* id) const {
    if (id == nullptr) return -1;
    for (std::uint32_t i = 0; i < state_.deviceCount; ++i) {
        if (wcscmp(state_.devices[i].id, id) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool Transaction::usable(int device, std::uint32_t generation) const {
    return device >= 0 && state_.devices[device].state == DEVICE_STATE_ACTIVE &&
           state_.devices[device].generation == generation;
}

void Transaction::push(EventKind kind, int device, std::uint32_t role, std::uint32_t newState) {
    // The service sends nothing while it is down.
    if (now() < state_.outageUntil) return;
    const std::uint32_t seq = ++state_.eventSeq;
    Event& event = state_.events[seq % kMaxEvents];
    event.seq = seq;
    event.kind = kind;
    event.role = role;
    event.newState = newState;
    copyText(event.device, std::size(event.device), device >= 0 ? state_.devices[device].id : L"");
}

void Transaction::clear() {
    for (int role = 0; role < kRoles; ++role) {
        if (state_.defaults[role] >= 0) {
            state_.defaults[role] = -1;
            push(EventKind::DefaultChanged, -1, static_cast<std::uint32_t>(role));
        }
    }
    for (std::uint32_t i = 0; i < state_.deviceCount; ++i) {
        push(EventKind::Removed, static_cast<int>(i));
    }
    state_.deviceCount = 0;
}

void Transaction::reset() {
    clear();
    for (auto& failure : state_.failures) failure = Failure{};
    state_.outageUntil = 0;
    state_.policy = Policy::Windows7;
    add(L"spk", L"Speakers (Simulated)");
    for (int role = 0; role < kRoles; ++role) setDefault(0, role);
}

bool Transaction::add(const wchar_t* id, const wchar_t* name) {
    if (find(id) >= 0 || state_.deviceCount == kMaxDevices) return false;
    Device& device = state_.devices[state_.deviceCount++];
    device = Device{};
    copyText(device.id, std::size(device.id), id);
    copyText(device.name, std::size(device.name), name);
    device.state = DEVICE_STATE_ACTIVE;
    device.level = 0.5f;
    device.generation = ++state_.nextGeneration;
    push(EventKind::Added, static_cast<int>(state_.deviceCount - 1));
    takeEmptyRoles(static_cast<int>(state_.deviceCount - 1));
    return true;
}

// A device that becomes active while a role has no default becomes that role's default, as
// Windows makes the first output that appears the default.
void Transaction::takeEmptyRoles(int device) {
    for (int role = 0; role < kRoles; ++role) {
        if (state_.defaults[role] < 0) setDefault(device, role);
    }
}

// The next active device in the order they were added becomes the role's default, as Windows
// picks another output when the default goes away.
void Transaction::nextDefault(int role) {
    state_.defaults[role] = -1;
    for (std::uint32_t i = 0; i < state_.deviceCount; ++i) {
        if (state_.devices[i].state == DEVICE_STATE_ACTIVE) {
            state_.defaults[role] = static_cast<int>(i);
            break;
        }
    }
    push(EventKind::DefaultChanged, state_.defaults[role], static_cast<std::uint32_t>(role));
}

void Transaction::remove(int device, std::uint32_t state) {
    state_.devices[device].state = state;
    push(EventKind::StateChanged, device, 0, state);
    for (int role = 0; role < kRoles; ++role) {
        if (state_.defaults[role] == device) nextDefault(role);
    }
}

// A device plugged in again is active with a new life; a role left without a default takes it.
void Transaction::plug(int device) {
    state_.devices[device].state = DEVICE_STATE_ACTIVE;
    state_.devices[device].generation = ++state_.nextGeneration;
    push(EventKind::StateChanged, device, 0, DEVICE_STATE_ACTIVE);
    takeEmptyRoles(device);
}

void Transaction::rename(int device, const wchar_t* name) {
    copyText(state_.devices[device].name, std::size(state_.devices[device].name), name);
    state_.devices[device].nameless = 0;
    push(EventKind::NameChanged, device);
}

// As a device just plugged in may be for a moment: no name property at all.
void Transaction::removeName(int device) {
    state_.devices[device].name[0] = L'\0';
    state_.devices[device].nameless = 1;
    push(EventKind::NameChanged, device);
}

void Transaction::setDefault(int device, int role) {
    if (state_.defaults[role] == device) return;
    state_.defaults[role] = device;
    push(EventKind::DefaultChanged, device, static_cast<std::uint32_t>(role));
}

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back();
    return result;
}

std::string describe(const State& state) {
    std::string table;
    for (std::uint32_t i = 0; i < state.deviceCount; ++i) {
        const Device& device = state.devices[i];
        const char* stateName = device.state == DEVICE_STATE_ACTIVE       ? "active"
                                : device.state == DEVICE_STATE_DISABLED   ? "disabled"
                                : device.state == DEVICE_STATE_NOTPRESENT ? "notpresent"
                                                                          : "unplugged";
        std::string roles;
        for (int role = 0; role < kRoles; ++role) {
            if (state.defaults[role] != static_cast<int>(i)) continue;
            if (!roles.empty()) roles += ',';
            roles += utf8(roleName(role));
        }
        char line[160];
        std::snprintf(line, sizeof(line), " level=%f mute=%u name=\"", device.level,
                      static_cast<unsigned>(device.mute));
        table += "id=" + utf8(device.id) + " state=" + stateName +
                 " roles=" + (roles.empty() ? "-" : roles) + line + utf8(device.name) + "\"" +
                 (device.nameless ? " nameless" : "") + "\n";
    }
    return table;
}

}  // namespace audiosim
