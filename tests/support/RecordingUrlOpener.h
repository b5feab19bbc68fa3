#pragma once

#include "platform/app/UrlOpener.h"

#include <QString>
#include <QStringList>

namespace fenu::test {

/// Records every link handed to it instead of opening it.
class RecordingUrlOpener final : public UrlOpener {
public:
    void Open(const QString& target) override { Opened.append(target); }

    QStringList Opened;
};

} // namespace fenu::test
