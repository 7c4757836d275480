#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The simulated audio system's state: the render devices, the default per role, the audio
// service's restarts, the injected failures and the recent device events. It lives in a file of
// the Wine prefix, guarded by a named mutex, so that every process of the prefix sees the same
// devices and the state outlives the programs.
namespace audiosim {

constexpr int kMaxDevices = 16;
constexpr int kMaxEvents = 64;
constexpr int kRoles = 3;  // console, multimedia, communications

// Every method of the simulated objects that a program calls, each of which can be made to fail.
enum class Method : int {
    GetDefaultAudioEndpoint,
    Activate,
    GetMasterVolumeLevelScalar,
    SetMasterVolumeLevelScalar,
    GetMute,
    SetMute,
    SetDefaultEndpoint,
    EnumAudioEndpoints,
    GetDevice,
    RegisterEndpointNotificationCallback,
    UnregisterEndpointNotificationCallback,
    GetId,
    GetState,
    OpenPropertyStore,
    GetValue,
    GetCount,
    Item,
    CreatePolicyConfig,  // the policy-config class factory's CreateInstance
    Count
};

enum class EventKind : std::uint32_t { DefaultChanged, StateChanged, Added, Removed, NameChanged };

// Which policy-config class and interface pairing the simulated Windows offers, as each version
// does: Windows 7 to 11, Windows 10 1511 and 1507 (the Windows 7 class with interfaces of their
// own), Vista (a class of its own).
enum class Policy : std::uint32_t { Windows7, Vista, Windows10_1511, Windows10_1507, Count };

struct Device {
    wchar_t id[40];
    wchar_t name[96];
    std::uint32_t state;  // DEVICE_STATE_*
    float level;
    std::uint32_t mute;
    std::uint32_t generation;  // a new one each time the device becomes active
    std::uint32_t nameless;    // the name property is absent: GetValue answers VT_EMPTY
};

struct Event {
    std::uint32_t seq;
    EventKind kind;
    std::uint32_t role;
    std::uint32_t newState;
    wchar_t device[40];  // empty: no device (a role left without a default)
};

struct Failure {
    std::int32_t hr;
    std::uint32_t count;
};

struct State {
    std::uint32_t magic;
    std::uint32_t deviceCount;
    Device devices[kMaxDevices];
    std::int32_t defaults[kRoles];  // index into devices, -1 for none
    std::uint32_t nextGeneration;
    std::uint32_t epoch;  // the audio service's life: objects of an older one answer lossCode
    std::int32_t lossCode;
    std::uint64_t outageUntil;  // system time (100 ns) until which the service does not run
    Failure failures[static_cast<int>(Method::Count)];
    std::uint32_t eventSeq;
    Event events[kMaxEvents];
    Policy policy;
};

std::uint64_t now();

// The number of the last device event, in a page that every process of the prefix shares and
// each commit updates: a thread waiting for events reads it without taking a lock, opening the
// state file or touching the heap. Nothing when the page cannot be made.
volatile LONG* lastEventNumber();
const wchar_t* methodName(Method method);
const wchar_t* roleName(int role);
const wchar_t* policyName(Policy policy);

// One locked look at the state: the constructor takes the lock and reads the file, commit()
// writes it back, the destructor lets go.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    State& state() { return state_; }
    bool commit();  // false when the state could not be written

    // What a call of the simulated service answers before it does anything: not running during
    // an outage, the loss code for an object of an older service life, then an injected failure.
    HRESULT gate(std::uint32_t objectEpoch, Method method);
    HRESULT gate(std::uint32_t objectEpoch);
    // The failure injected for `method`, used up by one call; S_OK when there is none.
    HRESULT injected(Method method);

    int find(const wchar_t* id) const;
    bool usable(int device, std::uint32_t generation) const;

    void reset();
    void clear();
    bool add(const wchar_t* id, const wchar_t* name);
    void remove(int device, std::uint32_t state);
    void plug(int device);
    void rename(int device, const wchar_t* name);
    void removeName(int device);
    void setDefault(int device, int role);

private:
    void push(EventKind kind, int device, std::uint32_t role = 0, std::uint32_t newState = 0);
    void nextDefault(int role);
    void takeEmptyRoles(int device);

    HANDLE mutex_;
    State state_{};
};

std::string utf8(const wchar_t* text);
std::string describe(const State& state);

}  // namespace audiosim
