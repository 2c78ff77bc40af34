#pragma once

// The MQTT client set-up shared by the broker test and the live monitor: the TLS context
// the device would use, built in memory from the TLS fields, and the login of a
// libmosquitto client (protocol, user name and password, keep alive, TLS).

#include "broker/TlsMaterial.h"

#include <QString>

struct mosquitto;

namespace swr {

struct ParGen;
enum class StageCause : unsigned char;

// Once per process, before the first client, once Broker_Library_Fault found nothing.
void Mqtt_Library_Init();

// An IPv4 or IPv6 address in text, as opposed to a host name.
bool Is_Literal_Address(const QString& host);

// The context for a connection to host (libssl and libcrypto loaded): the server
// authentication's CA and host check when it is on, the client certificate and key when
// client authentication is on. Null with the cause (Key_Password_Wrong, Client_Unreadable,
// Key_Mismatch) when the client side cannot be used.
SSL_CTX_ptr Mqtt_Tls_Context(const ParGen& m, const QString& host, StageCause* failure);

// The configured keep alive in seconds, within what the library takes.
int Mqtt_Keep_Alive(const ParGen& m);

// MQTT 3.1.1, the configured user name and password, and ctx (when given) for TLS.
void Mqtt_Login(mosquitto* q, const ParGen& m, SSL_CTX* ctx);

} // namespace swr
