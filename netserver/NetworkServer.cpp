#include "NetworkServer.h"

void NetworkServer::TellClientsChanged()
{
    const std::pair<int, int> now{ClientCount(), HeldClients()};
    if (now == Told)
        return;
    Told = now;
    emit ClientsChanged();
}
