#pragma once
#include <QString>
#include <stdexcept>

// Every database failure travels as this exception. The message starts with the
// server wording of the well-known cases (see normaliseEngineError) followed by the
// engine's own text, so the Thai explanations match whatever engine is in use.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message, const QString &nativeCode = {})
        : std::runtime_error(message.toStdString()), m_message(message), m_nativeCode(nativeCode) {}
    const QString &message() const { return m_message; }
    const QString &nativeCode() const { return m_nativeCode; }

private:
    QString m_message;
    QString m_nativeCode;
};

class QSqlError;
enum class EngineKind;
// Turns an engine's error into the server wording of the well-known cases
// (duplicate key, NULL into a column, reference conflict, lost connection, time-out),
// keeping the engine's text after it.
QString normaliseEngineError(EngineKind engine, const QSqlError &error);
