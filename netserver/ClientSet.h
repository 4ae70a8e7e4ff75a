#pragma once

#include "ClientConnection.h"
#include "MakingRoom.h"
#include "PortListener.h"

#include <QTcpSocket>

#include <algorithm>
#include <memory>
#include <vector>

// The clients of one server, each a ClientConnection or made from one: how many are connected,
// which are over and let go, and who makes room when a newcomer finds every place taken
// (ClientToMakeRoom). Every server admits its clients here, so one rule holds for all of them.
// The server passes itself as receiver: a client let go takes none of its signals along.
template <typename Client>
class ClientSet {
public:
    using List = std::vector<std::unique_ptr<Client>>;

    typename List::const_iterator begin() const { return Clients.begin(); }
    typename List::const_iterator end() const { return Clients.end(); }
    bool Empty() const { return Clients.empty(); }

    // The connected ones and the leaving ones whose last replies are going out.
    int Held() const { return static_cast<int>(Clients.size()); }
    int Connected() const
    {
        return static_cast<int>(std::count_if(Clients.begin(), Clients.end(),
                                               [](const auto& client) { return client->Connected(); }));
    }

    // The next connection waiting at the listener, once a place is free or one has been made for
    // it; nullptr when none waits, or every place is held by a client that may not be pushed out.
    QTcpSocket* Admit(PortListener& listener, std::int64_t nowMs, QObject* receiver)
    {
        ForgetGone(nowMs, receiver);
        if (!listener.hasPendingConnections())
            return nullptr;
        if (Connected() >= listener.MaxClients() && !MakeRoom(nowMs, receiver))
            return nullptr;
        return listener.nextPendingConnection();
    }

    Client& Add(std::unique_ptr<Client> client)
    {
        Clients.push_back(std::move(client));
        return *Clients.back();
    }

    // The client of a socket, or nullptr once it has been let go.
    Client* Find(const QTcpSocket* socket) const
    {
        const auto found = std::find_if(Clients.begin(), Clients.end(),
                                        [socket](const auto& client) { return client->Socket() == socket; });
        return found != Clients.end() ? found->get() : nullptr;
    }

    // Every client's queue looked at, so that one that has stopped moving is known (the watchdog's
    // tick).
    void NoteDrain(std::int64_t nowMs)
    {
        for (const auto& client : Clients)
            client->NoteDrain(nowMs);
    }

    // The server is going: no socket signal may reach it any more.
    void Detach(QObject* receiver)
    {
        for (const auto& client : Clients)
            client->Socket()->disconnect(receiver);
    }

private:
    void ForgetGone(std::int64_t nowMs, QObject* receiver)
    {
        std::erase_if(Clients, [nowMs, receiver](const auto& client) {
            if (!client->Over(nowMs))
                return false;
            LetGo(*client, receiver);
            return true;
        });
    }

    bool MakeRoom(std::int64_t nowMs, QObject* receiver)
    {
        std::vector<ClientStanding> standings;
        std::vector<std::size_t> places;
        for (std::size_t place = 0; place < Clients.size(); ++place) {
            if (Clients[place]->Connected()) {
                standings.push_back(Clients[place]->Standing(nowMs));
                places.push_back(place);
            }
        }
        const auto leaver = ClientToMakeRoom(standings);
        if (!leaver)
            return false;
        const auto place = Clients.begin() + static_cast<std::ptrdiff_t>(places[*leaver]);
        LetGo(**place, receiver);
        Clients.erase(place);
        return true;
    }

    static void LetGo(Client& client, QObject* receiver)
    {
        client.Socket()->disconnect(receiver);
        client.Release();
    }

    List Clients;
};
