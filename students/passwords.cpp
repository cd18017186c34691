#include "passwords.h"

#include <stdexcept>

#include <sodium.h>

namespace {
void initSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("The password library could not start.");
}
}

QString Hash_Password(const QString& password)
{
    initSodium();
    const QByteArray plain = password.toUpper().toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, plain.constData(), static_cast<unsigned long long>(plain.size()),
            crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw std::runtime_error("Out of memory while protecting the password.");
    return QString::fromLatin1(hash);
}

bool Is_Password_Hash(const QString& stored)
{
    return stored.startsWith(QLatin1String("$argon2"));
}

bool Password_Matches(const QString& stored, const QString& typed)
{
    if (stored.isEmpty())
        return typed.isEmpty();
    if (!Is_Password_Hash(stored))
        return stored.toUpper() == typed.toUpper();
    initSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray plain = typed.toUpper().toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), plain.constData(), static_cast<unsigned long long>(plain.size()))
        == 0;
}
