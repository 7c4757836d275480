#include "notifier.h"

#include "sim_state.h"

namespace audiosim {

namespace {
constexpr PROPERTYKEY kFriendlyNameKey = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
}

Notifier& Notifier::instance() {
    static Notifier* notifier = new Notifier();  // lives as long as the process
    return *notifier;
}

Notifier::Notifier()
    : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), lastEvent_(lastEventNumber()) {
    InitializeCriticalSection(&lifecycle_);
    InitializeCriticalSection(&lock_);
    InitializeCriticalSection(&delivering_);
}

// Windows takes no reference of a client it registers and releases none when it unregisters it;
// the program keeps its client alive in between.
void Notifier::add(IMMNotificationClient* client, std::uint32_t epoch, std::uint32_t seen) {
    EnterCriticalSection(&lifecycle_);
    EnterCriticalSection(&lock_);
    clients_.push_back({client, epoch, seen});
    if (thread_ == nullptr) {
        ResetEvent(stop_);
        thread_ = CreateThread(nullptr, 0, run, this, 0, &threadId_);
    }
    LeaveCriticalSection(&lock_);
    LeaveCriticalSection(&lifecycle_);
}

// Waits for a delivery under way: once this returns, the client is called no more. The last
// client's removal also waits for the thread to end (unless a client removes itself from a call
// on that thread), so that a process that unregisters before it ends has no thread of the
// simulator left for its end to cut short.
bool Notifier::remove(IMMNotificationClient* client) {
    bool removed = false;
    HANDLE ending = nullptr;
    EnterCriticalSection(&lifecycle_);
    EnterCriticalSection(&delivering_);
    EnterCriticalSection(&lock_);
    for (auto it = clients_.begin(); it != clients_.end(); ++it) {
        if (it->client == client) {
            clients_.erase(it);
            removed = true;
            break;
        }
    }
    if (clients_.empty() && thread_ != nullptr && GetCurrentThreadId() != threadId_) {
        ending = thread_;
        thread_ = nullptr;
        SetEvent(stop_);
    }
    LeaveCriticalSection(&lock_);
    LeaveCriticalSection(&delivering_);
    if (ending != nullptr) {
        WaitForSingleObject(ending, INFINITE);
        CloseHandle(ending);
    }
    LeaveCriticalSection(&lifecycle_);
    return removed;
}

// ExitProcess cuts every other thread short wherever it is and then calls each DLL's detach code,
// which may take the locks a cut thread held: the heap's, the C runtime's (Microsoft,
// "ExitProcess function", Remarks). So the thread looks for events in the shared page, which
// takes no lock, and reads the state (the heap, the file, the runtime) only once a new event was
// committed, as Windows' own notification thread works only while a call is under way.
DWORD WINAPI Notifier::run(void* self) {
    auto* notifier = static_cast<Notifier*>(self);
    bool due = true;  // events committed before the thread started
    LONG looked = 0;
    while (WaitForSingleObject(notifier->stop_, 10) == WAIT_TIMEOUT) {
        const LONG last = notifier->lastEvent_ ? *notifier->lastEvent_ : looked + 1;
        if (!due && last == looked) continue;
        looked = last;
        due = !notifier->deliver();
    }
    return 0;
}

// False when the service is down: the events are looked at again.
bool Notifier::deliver() {
    State state;
    {
        Transaction sim;
        if (FAILED(sim.gate(sim.state().epoch))) return false;
        state = sim.state();
    }
    EnterCriticalSection(&delivering_);
    std::vector<Client> due;
    EnterCriticalSection(&lock_);
    for (Client& client : clients_) {
        if (client.epoch != state.epoch || client.seen == state.eventSeq) continue;
        due.push_back(client);
        client.seen = state.eventSeq;
    }
    LeaveCriticalSection(&lock_);

    for (const Client& client : due) {
        std::uint32_t first = client.seen + 1;
        if (state.eventSeq - client.seen > kMaxEvents) first = state.eventSeq - kMaxEvents + 1;
        for (std::uint32_t seq = first; seq <= state.eventSeq; ++seq) {
            const Event& event = state.events[seq % kMaxEvents];
            const wchar_t* id = event.device[0] ? event.device : nullptr;
            IMMNotificationClient* c = client.client;
            switch (event.kind) {
                case EventKind::DefaultChanged:
                    c->OnDefaultDeviceChanged(eRender, static_cast<ERole>(event.role), id);
                    break;
                case EventKind::StateChanged:
                    c->OnDeviceStateChanged(id, event.newState);
                    break;
                case EventKind::Added:
                    c->OnDeviceAdded(id);
                    break;
                case EventKind::Removed:
                    c->OnDeviceRemoved(id);
                    break;
                case EventKind::NameChanged:
                    c->OnPropertyValueChanged(id, kFriendlyNameKey);
                    break;
            }
        }
    }
    LeaveCriticalSection(&delivering_);
    return true;
}

}  // namespace audiosim
