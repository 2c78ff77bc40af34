#pragma once

// A workspace for fleet commissioning: a template configuration that uses variables in
// every place they are replaced, a devices file of loopback devices, the stand-in updater
// in the program folder, and an echo that answers every loopback address but the ones it
// is told to keep silent. Nothing here sends anything anywhere.

#include "FakeEcho.h"
#include "TableFiles.h"
#include "TestSupport.h"

#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"
#include "update/UpdateJob.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <set>

namespace swr::test {

// Echo requests answered by every address in 127.0.0.0/24 that is not silent; a silent
// one takes its whole time-out on the clock. Any other address is never asked: a test
// fails when one is.
class LoopbackEcho : public IEcho {
public:
    explicit LoopbackEcho(FakeClock& clock) : clock_(clock) {}
    EchoResult Send_Echo(quint32 ipv4, int, int timeoutMs) override
    {
        const std::lock_guard<std::mutex> lock(m_);
        asked.push_back(ipv4);
        EXPECT_EQ(ipv4 >> 8, 0x7F0000u) << "an echo request to a non-loopback address";
        const QString dotted = QStringLiteral("%1.%2.%3.%4")
                                   .arg(ipv4 >> 24).arg((ipv4 >> 16) & 0xFF).arg((ipv4 >> 8) & 0xFF).arg(ipv4 & 0xFF);
        if ((ipv4 >> 8) != 0x7F0000u || silent.count(dotted)) {
            clock_.now += timeoutMs;
            return EchoResult::Timed_Out;
        }
        clock_.now += 1;
        return EchoResult::Answered;
    }
    std::set<QString> silent;
    std::vector<quint32> asked;

private:
    FakeClock& clock_;
    std::mutex m_;
};

inline constexpr const char* Template_Name = "Template";

// The template's values: a variable in every place the plan replaces them.
inline ParGen Template_ParGen()
{
    ParGen m = ParGen_Defaults();
    m.Set_Text(ParKey::Eth_Conn_Device_Name, "${dev}");
    m.Set_Text(ParKey::MQTT_Client_ID, "hdr-${id}");
    m.Set_Text(ParKey::MQTT_Username, "${user}");
    m.Set_Text(ParKey::MQTT_Password, "${pw}");
    m.Set_Flag(ParKey::MQTT_WillFlag, true);
    m.Set_Text(ParKey::MQTT_Will_Topic_Name, "${prefix}/status");
    m.Set_Text(ParKey::MQTT_Will_Message, "${name} at ${ip} is offline");
    m.Set_Text(ParKey::MQTT_Server_URL, "${broker}");
    m.Set_Text(ParKey::TLS_Server_Auth_Certificate, "${ca}");
    m.Set_Text(ParKey::TLS_Client_Auth_Certificate, "${cert}");
    m.Set_Text(ParKey::TLS_Client_Auth_Key, "${key}");
    m.Set_Text(ParKey::TLS_Client_Auth_Key_Password, "${keypw}");
    return m;
}

inline MQTT_Publish_Row Template_Rule()
{
    return {"${prefix}/gps/lat", "N", "0", "Float", "4", "0", "", "",
            "{\"lat\":$VALUE$,\"ship\":\"${name}\",\"literal\":\"$${x}$\"}", "Y", "N", "", "${prefix}_LAT"};
}

struct Fleet_Workspace {
    ProgramFolder p;
    FakeClock clock;
    LoopbackEcho echo{clock};

    Fleet_Workspace()
    {
        p.start();
        Write_Template();
        EXPECT_TRUE(QFile::copy(QStringLiteral(SWR_STANDIN_UPDATER), Updater_Program(p.st.Program_Dir)));
        p.write("MASTER/SimR2305.sim", "firmware");
    }

    QString Template_Dir() const { return p.path(QStringLiteral("PROJECTS/") + Template_Name); }
    QString Devices() const { return p.path("fleet/devices.csv"); }
    QString Config(const QString& device, const QString& rel = {}) const
    {
        return p.path("PROJECTS/" + device + (rel.isEmpty() ? QString() : "/" + rel));
    }

    // The template, with the rule given (by default the one above) and the edit of its
    // parameters.
    void Write_Template(const MQTT_Publish_Row& rule = Template_Rule(),
                        const std::function<void(ParGen&)>& edit = {}) const
    {
        const QString dir = Template_Dir();
        QDir().mkpath(dir + "/bin");
        ParGen par = Template_ParGen();
        if (edit)
            edit(par);
        EXPECT_TRUE(Save_ParGen(p.st, dir + "/ParGen.xml", par).ok);
        NMEA_Listener_Table t;
        t.row(1) = Listener_Row("GGA", Lat_Minutes, "0");
        t.row(1).Mnemonic = "${prefix}-lat";
        EXPECT_TRUE(Save_NMEA_Access(p.st, dir + "/NMEA_0183_Set_Access.xml", t).ok);
        MQTT_Topic_Table m;
        m.Pub[0] = rule;
        EXPECT_TRUE(Save_MQTT_Topic(p.st, dir + "/MQTT_Set_Topic.xml", m).ok);
    }

    // Three devices on loopback addresses, one line each after the header; ship-b has no
    // user name (an empty value is allowed).
    static QByteArray Three_Devices()
    {
        return "name,ip,dev,id,user,pw,prefix,broker,ca,cert,key,keypw\r\n"
               "ship-a,127.0.0.11,Alpha,1,ua,pw-alpha-1,fleet/a,127.0.0.1,CA-a,CERT-a,KEY-alpha-1,kp-alpha-1\r\n"
               "ship-b,127.0.0.12,Bravo,2,,pw-bravo-2,fleet/b,127.0.0.1,CA-b,CERT-b,KEY-bravo-2,kp-bravo-2\r\n"
               "ship-c,127.0.0.13,Charlie,3,uc,pw-charlie-3,fleet/c,127.0.0.1,CA-c,CERT-c,KEY-charlie-3,kp-charlie-3\r\n";
    }
    void Write_Devices(const QByteArray& csv) const { p.write("fleet/devices.csv", csv); }

    QByteArray Report(const char* name) const { return p.read(QStringLiteral("fleet/") + name); }
};

} // namespace swr::test
