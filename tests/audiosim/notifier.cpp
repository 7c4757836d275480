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

Notifier::Notifier() {
    InitializeCriticalSection(&lock_);
    InitializeCriticalSection(&delivering_);
}

// Windows takes no reference of a client it registers and releases none when it unregisters it;
// the program keeps its client alive in between.
void Notifier::add(IMMNotificationClient* client, std::uint32_t epoch, std::uint32_t seen) {
    EnterCriticalSection(&lock_);
    clients_.push_back({client, epoch, seen});
    if (thread_ == nullptr) thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    LeaveCriticalSection(&lock_);
}

// Waits for a delivery under way: once this returns, the client is called no more.
bool Notifier::remove(IMMNotificationClient* client) {
    bool removed = false;
    EnterCriticalSection(&delivering_);
    EnterCriticalSection(&lock_);
    for (auto it = clients_.begin(); it != clients_.end(); ++it) {
        if (it->client == client) {
            clients_.erase(it);
            removed = true;
            break;
        }
    }
    LeaveCriticalSection(&lock_);
    LeaveCriticalSection(&delivering_);
    return removed;
}

DWORD WINAPI Notifier::run(void* self) {
    for (;;) {
        Sleep(10);
        static_cast<Notifier*>(self)->deliver();
    }
}

void Notifier::deliver() {
    State state;
    {
        Transaction sim;
        if (FAILED(sim.gate(sim.state().epoch))) return;  // the service is down
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
}

}  // namespace audiosim
