#include "SoundPlayer.h"

#include <canberra.h>

CanberraSoundPlayer::CanberraSoundPlayer() = default;

bool CanberraSoundPlayer::open()
{
    // Opened at the first sound rather than at start-up: connecting to the sound server takes time.
    if (m_context || m_openFailed)
        return m_context;
    if (ca_context_create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        m_openFailed = true;
        return false;
    }
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Nimbrel", nullptr);
    if (ca_context_open(m_context) != CA_SUCCESS) {
        ca_context_destroy(m_context);
        m_context = nullptr;
        m_openFailed = true;
    }
    return m_context;
}

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    if (m_context)
        ca_context_destroy(m_context);
}

bool CanberraSoundPlayer::playFile(const QString& path)
{
    return open()
           && ca_context_play(m_context, 0, CA_PROP_MEDIA_FILENAME, path.toLocal8Bit().constData(),
                              CA_PROP_MEDIA_ROLE, "event", nullptr)
                  == CA_SUCCESS;
}

bool CanberraSoundPlayer::playEvent(const QString& eventId)
{
    return open()
           && ca_context_play(m_context, 0, CA_PROP_EVENT_ID, eventId.toLatin1().constData(), nullptr)
                  == CA_SUCCESS;
}
