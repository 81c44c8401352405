#pragma once

#include "servers/ServerRecord.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <string>

// How one server record lies in the settings file: the history value "Servers/<name>"
// and the values "IP", "UN", "UP", "ACC", "PORT", "PM", "ENC", "CERT", "CMNT" below it.

QString ServerKey(const std::string& name);

// "IP", "UN", "UP", "ACC", "PORT", "PM", "ENC" and "CERT"; the comment is written on its own.
// Without `withPassword` the password stays where it is (one the keyring did not give).
void WriteServerFields(QSettings& store, const ServerRecord& record, bool withPassword = true);
void WriteServerComment(QSettings& store, const std::string& name, const std::string& comment);

// The record stored under the escaped subkey `key` of "Servers", with defaults for
// missing values. `passwordProblem`, when given, gets why the keyring did not give the password.
ServerRecord ReadServerRecord(QSettings& store, const QString& key, QString* passwordProblem = nullptr);

// The one place a server's password is written and read. With "UseKeyring" off it is "UP" in the
// file, scrambled; with it on it goes to the keyring (GetPasswordKeyring) and "UP" is removed,
// unless the keyring refused it: then the file keeps it scrambled rather than lose it. An "UP" is
// always read first; with the option on it is moved to the keyring as it is read.
void WriteServerPassword(QSettings& store, const std::string& name, const std::string& userName,
                         const std::string& password);
// Empty when the keyring could not give it; `problem` then says why.
std::string ReadServerPassword(QSettings& store, const std::string& name, const std::string& userName,
                               QString& problem);
// A server deleted or renamed takes its keyring entry along (with the option on; off, the keyring
// is never touched).
void ForgetServerPassword(const std::string& name);

// "UP" is written as a byte array: scrambled passwords are binary, and only a byte
// array survives the INI file byte for byte. The password of "anonymous" is stored
// unscrambled, in the same form.
QVariant PasswordToStore(const std::string& password, const std::string& userName);
std::string PasswordFromStore(const QVariant& stored, const std::string& userName);

// An unscrambled password as an older version stored it: text, taken as UTF-8.
std::string PlainPasswordFromStore(const QVariant& stored);

// A text value; INI values holding unquoted commas read back as lists and are joined.
QString StoredText(const QVariant& value);

// QSettings::remove() takes a key's subkeys along with its value; this keeps them.
void RemoveValueOnly(QSettings& store, const QString& key);
