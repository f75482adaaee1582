#include "ScenarioPlayer.h"

#include "ModemSimulator.h"

#include <QStringList>
#include <QTimer>

namespace
{

QByteArray unescape(const QString& text)
{
    const QByteArray in = text.toLatin1();
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 >= in.size()) {
            out += in[i];
            continue;
        }
        const char c = in[++i];
        if (c == 'r')
            out += '\r';
        else if (c == 'n')
            out += '\n';
        else if (c == 'x' && i + 2 < in.size()) {
            out += char(in.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

} // namespace

QList<ScenarioPlayer::Step> ScenarioPlayer::parse(const QString& script, QString* error)
{
    QList<Step> steps;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("wait "))) {
            bool ok = false;
            const int ms = line.mid(5).trimmed().toInt(&ok);
            if (!ok || ms < 0) {
                *error = QStringLiteral("line %1: 'wait' needs a number of milliseconds").arg(i + 1);
                return {};
            }
            steps.append({Step::Wait, {}, ms});
        } else if (line == QLatin1String("unplug")) {
            steps.append({Step::Unplug, {}, 0});
        } else if (line.startsWith(QLatin1String("raw "))) {
            steps.append(
                {Step::Raw, unescape(lines.at(i).mid(lines.at(i).indexOf(QLatin1String("raw ")) + 4)), 0});
        } else {
            steps.append({Step::Line, line.toLatin1(), 0});
        }
    }
    return steps;
}

ScenarioPlayer::ScenarioPlayer(ModemSimulator& modem, QObject* parent)
    : QObject(parent)
    , m_modem(modem)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &ScenarioPlayer::playNext);
}

void ScenarioPlayer::play(const QList<Step>& steps)
{
    m_steps = steps;
    m_next = 0;
    playNext();
}

void ScenarioPlayer::playNext()
{
    while (m_next < m_steps.size()) {
        const Step& step = m_steps.at(m_next++);
        switch (step.kind) {
        case Step::Line:
            m_modem.sendLine(step.bytes);
            break;
        case Step::Raw:
            m_modem.sendRaw(step.bytes);
            break;
        case Step::Unplug:
            m_modem.unplug();
            break;
        case Step::Wait:
            m_timer->start(step.waitMs);
            return;
        }
    }
    emit finished();
}
