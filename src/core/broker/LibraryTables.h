#pragma once

// The functions of libcrypto, libssl and libmosquitto that the broker floor calls, one table
// per library, filled from the library on first use (see BrokerLibraries.h). The headers
// only give the functions' types. A table that is not loaded has null members: callers ask
// for Loaded() (or for the fault) before anything else. OpenSSL's macros that expand to calls
// are written out against the table (SSL_CTX_ctrl, SSL_ctrl, BIO_ctrl) with the macro's
// arguments.

#include "broker/BrokerLibraries.h"

#include <mosquitto.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#define SWR_CRYPTO_FUNCTIONS(F)                                                                    \
    F(ERR_clear_error)                                                                             \
    F(ERR_peek_last_error)                                                                         \
    F(ERR_error_string_n)                                                                          \
    F(BIO_new)                                                                                     \
    F(BIO_s_mem)                                                                                   \
    F(BIO_new_mem_buf)                                                                             \
    F(BIO_ctrl)                                                                                    \
    F(BIO_free)                                                                                    \
    F(PEM_read_bio_X509)                                                                           \
    F(PEM_read_bio_PrivateKey)                                                                     \
    F(d2i_X509)                                                                                    \
    F(d2i_AutoPrivateKey)                                                                          \
    F(d2i_PKCS8_bio)                                                                               \
    F(PKCS8_decrypt)                                                                               \
    F(EVP_PKCS82PKEY)                                                                              \
    F(PKCS8_PRIV_KEY_INFO_free)                                                                    \
    F(X509_SIG_free)                                                                               \
    F(X509_free)                                                                                   \
    F(EVP_PKEY_free)                                                                               \
    F(X509_get_subject_name)                                                                       \
    F(X509_get_issuer_name)                                                                        \
    F(X509_get0_notBefore)                                                                         \
    F(X509_get0_notAfter)                                                                          \
    F(X509_NAME_print_ex)                                                                          \
    F(ASN1_TIME_to_tm)                                                                             \
    F(X509_check_private_key)                                                                      \
    F(X509_STORE_add_cert)                                                                         \
    F(X509_VERIFY_PARAM_set1_ip_asc)                                                               \
    F(X509_VERIFY_PARAM_set1_host)

#define SWR_SSL_FUNCTIONS(F)                                                                       \
    F(TLS_client_method)                                                                           \
    F(SSL_CTX_new)                                                                                 \
    F(SSL_CTX_free)                                                                                \
    F(SSL_CTX_ctrl)                                                                                \
    F(SSL_CTX_get_cert_store)                                                                      \
    F(SSL_CTX_get0_param)                                                                          \
    F(SSL_CTX_set_verify)                                                                          \
    F(SSL_CTX_use_certificate)                                                                     \
    F(SSL_CTX_use_PrivateKey)                                                                      \
    F(SSL_CTX_check_private_key)                                                                   \
    F(SSL_CTX_set_ex_data)                                                                         \
    F(SSL_CTX_get_ex_data)                                                                         \
    F(SSL_CTX_set_client_cert_cb)                                                                  \
    F(SSL_new)                                                                                     \
    F(SSL_free)                                                                                    \
    F(SSL_get_SSL_CTX)                                                                             \
    F(SSL_set_fd)                                                                                  \
    F(SSL_ctrl)                                                                                    \
    F(SSL_connect)                                                                                 \
    F(SSL_get_error)                                                                               \
    F(SSL_peek)                                                                                    \
    F(SSL_shutdown)                                                                                \
    F(SSL_get_verify_result)

#define SWR_MOSQUITTO_FUNCTIONS(F)                                                                 \
    F(mosquitto_lib_init)                                                                          \
    F(mosquitto_new)                                                                               \
    F(mosquitto_destroy)                                                                           \
    F(mosquitto_int_option)                                                                        \
    F(mosquitto_opts_set)                                                                          \
    F(mosquitto_username_pw_set)                                                                   \
    F(mosquitto_will_set)                                                                          \
    F(mosquitto_reconnect_delay_set)                                                               \
    F(mosquitto_connect_callback_set)                                                              \
    F(mosquitto_disconnect_callback_set)                                                           \
    F(mosquitto_message_callback_set)                                                              \
    F(mosquitto_connect_async)                                                                     \
    F(mosquitto_loop)                                                                              \
    F(mosquitto_subscribe)                                                                         \
    F(mosquitto_disconnect)                                                                        \
    F(mosquitto_topic_matches_sub)                                                                 \
    F(mosquitto_strerror)                                                                          \
    F(mosquitto_connack_string)

namespace swr {

struct LibraryTable {
    LibraryFault fault; // why not every function of the table was found; empty when all were
    bool Loaded() const { return !fault; }
};

// A member per function, typed as the header declares it, and Each(f), which hands f every
// member with its name.
#define SWR_TABLE_MEMBER(name) decltype(&::name) name = nullptr;
#define SWR_TABLE_VISIT(name) f(name, #name);
#define SWR_LIBRARY_TABLE(Table, FUNCTIONS)                                                        \
    struct Table : LibraryTable {                                                                  \
        FUNCTIONS(SWR_TABLE_MEMBER)                                                                \
        template <class F> void Each(F&& f) { FUNCTIONS(SWR_TABLE_VISIT) }                         \
    };
SWR_LIBRARY_TABLE(CryptoTable, SWR_CRYPTO_FUNCTIONS)
SWR_LIBRARY_TABLE(SslTable, SWR_SSL_FUNCTIONS)
SWR_LIBRARY_TABLE(MosquittoTable, SWR_MOSQUITTO_FUNCTIONS)
#undef SWR_LIBRARY_TABLE
#undef SWR_TABLE_VISIT
#undef SWR_TABLE_MEMBER
#undef SWR_CRYPTO_FUNCTIONS
#undef SWR_SSL_FUNCTIONS
#undef SWR_MOSQUITTO_FUNCTIONS

// Each table, filled on the first call from any thread.
const CryptoTable& Crypto();
const SslTable& Ssl();
const MosquittoTable& Mosq();

} // namespace swr
