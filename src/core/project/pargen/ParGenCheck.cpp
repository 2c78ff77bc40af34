// The data check of the Set Communication editor.
#include "project/pargen/ParGen.h"

#include "base/Numbers.h"
#include "lang/LangTable.h"

#include <optional>

namespace swr {

namespace {

// One range test: the value of key, read as a decimal integer (-1 when it is not one),
// must lie in 0..max; it runs only while the flag when is on, or every time without one.
struct RangeTest {
    ParKey key;
    int max;
    int text;
    std::optional<ParKey> when;
};

constexpr std::nullopt_t Always = std::nullopt;

constexpr RangeTest Tests[] = {
    // 1. DNS, only while "Enable DNS" is on.
    {ParKey::Eth_Conn_Primary_DNS1, 255, 1147, ParKey::Eth_Conn_Enable_DNS},
    {ParKey::Eth_Conn_Primary_DNS2, 255, 1148, ParKey::Eth_Conn_Enable_DNS},
    {ParKey::Eth_Conn_Primary_DNS3, 255, 1149, ParKey::Eth_Conn_Enable_DNS},
    {ParKey::Eth_Conn_Primary_DNS4, 255, 1150, ParKey::Eth_Conn_Enable_DNS},
    {ParKey::Eth_Conn_Secondary_DNS1, 255, 1151, ParKey::Eth_Conn_Enable_DNS},
    {ParKey::Eth_Conn_Secondary_DNS2, 255, 1152, ParKey::Eth_Conn_Enable_DNS},
    {ParKey::Eth_Conn_Secondary_DNS3, 255, 1153, ParKey::Eth_Conn_Enable_DNS},
    {ParKey::Eth_Conn_Secondary_DNS4, 255, 1154, ParKey::Eth_Conn_Enable_DNS},
    // 2. IP address and subnet mask, always (DHCP on the cable or not).
    {ParKey::Ethernet_IP1, 255, 544, Always},
    {ParKey::Ethernet_IP2, 255, 545, Always},
    {ParKey::Ethernet_IP3, 255, 546, Always},
    {ParKey::Ethernet_IP4, 255, 547, Always},
    {ParKey::Ethernet_SM1, 255, 548, Always},
    {ParKey::Ethernet_SM2, 255, 549, Always},
    {ParKey::Ethernet_SM3, 255, 550, Always},
    {ParKey::Ethernet_SM4, 255, 551, Always},
    // 3. Gateway, only while "Gateway" is on.
    {ParKey::Ethernet_GAT1, 255, 552, ParKey::Ethernet_EN_GAT},
    {ParKey::Ethernet_GAT2, 255, 553, ParKey::Ethernet_EN_GAT},
    {ParKey::Ethernet_GAT3, 255, 554, ParKey::Ethernet_EN_GAT},
    {ParKey::Ethernet_GAT4, 255, 555, ParKey::Ethernet_EN_GAT},
    // 4. NTP poll time, always.
    {ParKey::NTP_Poll_Time, 10000000, 1120, Always},
};

} // namespace

Check_Findings Data_Check(const Texts& texts, const ParGen& m)
{
    Check_Findings found;
    for (const RangeTest& t : Tests) {
        if (t.when && !m.Flag(*t.when))
            continue;
        const int v = Decimal_Whole_Or(m.Text(t.key), -1);
        if (v < 0 || v > t.max) {
            Check_Finding e;
            e.key = int(t.key);
            e.text = t.text;
            e.message = texts.Get_Lang_Text(t.text);
            found.append(e);
        }
    }
    return found;
}

QString Controllo_Dati(const Texts& texts, const ParGen& m, ParKey* failed)
{
    const Check_Findings found = Data_Check(texts, m);
    const Check_Finding* e = First_Error(found);
    if (!e)
        return {};
    if (failed)
        *failed = ParKey(e->key);
    return e->message;
}

} // namespace swr
