#include "SkyCollector.h"

#include "Constellations.h"

#include <algorithm>

namespace {

int KeyRank(const SkyGroupKey& key)
{
    const int talker = TalkerRank(std::string_view(key.Talker.data(), key.Talker.size()));
    return talker * 256 + static_cast<unsigned char>(key.Signal);
}

// Places past the last satellite of a group hold nothing and are left out of the sky.
int Extent(const std::array<SkyEntry, SkyCollector::GroupSlots>& group)
{
    int extent = SkyCollector::GroupSlots;
    while (extent > 0 && group[static_cast<std::size_t>(extent - 1)] == SkyEntry{})
        --extent;
    return extent;
}

bool SkyIsEmpty(const NavState& nav)
{
    const auto zero = [](const auto& slots) {
        return std::all_of(slots.begin(), slots.end(), [](auto v) { return v == 0; });
    };
    return zero(nav.SkyPrn) && zero(nav.SkyElevation) && zero(nav.SkyAzimuth) && zero(nav.SkySnr)
           && zero(nav.SkySystem);
}

// An empty place gives way to any satellite.
int Strength(const SkyEntry& entry)
{
    return entry.Id.Prn == 0 ? -1 : entry.Snr;
}

// The published table being put together, group by group.
class SkyUnion {
public:
    void Add(const SkyEntry& entry, int group)
    {
        if (entry.Id.Prn != 0 && MergeIntoOtherGroup(entry, group))
            return;
        if (Count < SkySlotCount) {
            Place(static_cast<std::size_t>(Count++), entry, group);
            return;
        }
        const auto weakest = std::min_element(Entries.begin(), Entries.end(), [](const SkyEntry& a, const SkyEntry& b) {
            return Strength(a) < Strength(b);
        });
        if (Strength(entry) > Strength(*weakest))
            Place(static_cast<std::size_t>(weakest - Entries.begin()), entry, group);
    }

    void WriteTo(NavState& nav) const
    {
        for (std::size_t i = 0; i < Entries.size(); ++i) {
            nav.SkyPrn[i] = Entries[i].Id.Prn;
            nav.SkySystem[i] = Entries[i].Id.System;
            nav.SkyElevation[i] = Entries[i].Elevation;
            nav.SkyAzimuth[i] = Entries[i].Azimuth;
            nav.SkySnr[i] = Entries[i].Snr;
        }
    }

private:
    // A satellite already listed by another source (another signal of it) is kept once, with the
    // values of its strongest signal. Within one group the receiver's list stands as sent.
    bool MergeIntoOtherGroup(const SkyEntry& entry, int group)
    {
        for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
            if (Entries[i].Id != entry.Id || Origin[i] == group)
                continue;
            if (entry.Snr > Entries[i].Snr)
                Entries[i] = entry;
            return true;
        }
        return false;
    }

    void Place(std::size_t slot, const SkyEntry& entry, int group)
    {
        Entries[slot] = entry;
        Origin[slot] = group;
    }

    std::array<SkyEntry, SkySlotCount> Entries{};
    std::array<int, SkySlotCount> Origin{};
    int Count = 0;
};

} // namespace

bool SkyCollector::Take(const GsvMessage& message, NavState& nav)
{
    Group& group = GroupFor(message.Key);
    group.LastHeard = ++Messages;
    if (message.First)
        group.Building.fill({});
    for (std::size_t i = 0; i < static_cast<std::size_t>(message.Count); ++i)
        group.Building[static_cast<std::size_t>(message.Slots[i])] = message.Satellites[i];
    if (!message.Last)
        return false;

    group.Complete = group.Building;
    group.HasComplete = true;
    group.LastComplete = Now();
    DropStale(group, nav);
    Publish(nav);
    return true;
}

SkyCollector::Group& SkyCollector::GroupFor(const SkyGroupKey& key)
{
    const auto known =
        std::find_if(Groups.begin(), Groups.end(), [&key](const Group& g) { return g.InUse && g.Key == key; });
    if (known != Groups.end())
        return *known;
    // A new source takes a free place, or that of the source heard from least recently.
    auto place = std::find_if(Groups.begin(), Groups.end(), [](const Group& g) { return !g.InUse; });
    if (place == Groups.end())
        place = std::min_element(Groups.begin(), Groups.end(),
                                 [](const Group& a, const Group& b) { return a.LastHeard < b.LastHeard; });
    *place = Group{};
    place->InUse = true;
    place->Key = key;
    place->Rank = KeyRank(key);
    place->LastComplete = Now();
    return *place;
}

void SkyCollector::DropStale(const Group& completed, const NavState& nav)
{
    const bool skyEmptied = SkyIsEmpty(nav);
    for (Group& group : Groups) {
        if (&group == &completed || !group.InUse)
            continue;
        if (completed.LastComplete - group.LastComplete > StaleAfter)
            group.InUse = false;
        else if (skyEmptied)
            group.HasComplete = false;
    }
}

void SkyCollector::Publish(NavState& nav) const
{
    std::array<const Group*, MaxGroups> order{};
    std::size_t count = 0;
    for (const Group& group : Groups)
        if (group.InUse && group.HasComplete)
            order[count++] = &group;
    std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count),
              [](const Group* a, const Group* b) { return a->Rank < b->Rank; });
    SkyUnion sky;
    for (std::size_t k = 0; k < count; ++k) {
        const int extent = Extent(order[k]->Complete);
        for (int slot = 0; slot < extent; ++slot)
            sky.Add(order[k]->Complete[static_cast<std::size_t>(slot)], static_cast<int>(k));
    }
    sky.WriteTo(nav);
}
