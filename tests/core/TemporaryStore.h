#pragma once

#include "TemporarySettings.h"
#include "servers/ServerMap.h"
#include "settings/Settings.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Failure messages show texts instead of object bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Every test that touches the settings file gets a file of its own in a fresh folder,
// never the user's own configuration.
class TemporaryStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.IsValid());
        ServerMap.clear();
    }

    void TearDown() override { ServerMap.clear(); }

    QString file() const { return settings.File(); }

    QByteArray fileText() const
    {
        QFile conf(file());
        return conf.open(QIODevice::ReadOnly) ? conf.readAll() : QByteArray();
    }

    void writeFileText(const QByteArray& text) const
    {
        QFile conf(file());
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
        conf.write(text);
    }

    tarvo::test::TemporarySettings settings{QStringLiteral("Tarvo.conf")};
    const QTemporaryDir& folder = settings.Folder();
};
