#include "MakingRoom.h"

std::optional<std::size_t> ClientToMakeRoom(std::span<const ClientStanding> clients)
{
    std::optional<std::size_t> stalled;
    std::optional<std::size_t> silent;
    for (std::size_t index = 0; index < clients.size(); ++index) {
        const ClientStanding& client = clients[index];
        if (client.StalledForMs >= StallLimit.count()
            && (!stalled || client.StalledForMs > clients[*stalled].StalledForMs))
            stalled = index;
        if (!client.Watching && (!silent || client.SilentForMs > clients[*silent].SilentForMs))
            silent = index;
    }
    return stalled ? stalled : silent;
}
