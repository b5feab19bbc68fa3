#pragma once

#include <QString>
#include <QValidator>

namespace fenu {

/// Accepts only names that Settings.ini keeps as they were typed: characters of the
/// Windows-1252 code page, without line breaks. Anything else would come back from
/// the file as '?' or a blank after the next start, while the records dialog showed
/// it unchanged until then. The characters of the name offered for editing are
/// accepted too (a file saved as UTF-8 holds any), so that it stays editable.
class TNameValidator final : public QValidator {
    Q_OBJECT
public:
    explicit TNameValidator(const QString& offered, QObject* parent = nullptr);
    State validate(QString& input, int& position) const override;

private:
    QString offered_;
};

} // namespace fenu
