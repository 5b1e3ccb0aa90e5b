#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <QUrl>
#include <atomic>
#include <gst/gst.h>

namespace {

struct Playback {
    GstElement *pipeline;
    std::atomic<bool> ended{false};
};

// Stops and frees the playback on the user-interface thread, once.
void finish(Playback *playback)
{
    if (playback->ended.exchange(true))
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [playback] {
            GstBus *bus = gst_element_get_bus(playback->pipeline);
            gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
            gst_object_unref(bus);
            gst_element_set_state(playback->pipeline, GST_STATE_NULL);
            gst_object_unref(playback->pipeline);
            delete playback;
        },
        Qt::QueuedConnection);
}

// Called on whichever thread posts the message.
GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer data)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR)
        finish(static_cast<Playback *>(data));
    gst_message_unref(message);
    return GST_BUS_DROP;
}

} // namespace

bool SoundPlayer::playAsync(const QString &path)
{
    if (!QCoreApplication::instance() || !gst_init_check(nullptr, nullptr, nullptr))
        return false;
    GstElement *pipeline = gst_element_factory_make("playbin", nullptr);
    if (!pipeline)
        return false;
    // Sound only: a file with pictures in it shows nothing.
    g_object_set(pipeline, "video-sink", gst_element_factory_make("fakesink", nullptr), nullptr);
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    g_object_set(pipeline, "uri", uri.constData(), nullptr);
    auto *playback = new Playback{pipeline};
    GstBus *bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, onBusMessage, playback, nullptr);
    gst_object_unref(bus);
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        finish(playback);
        return false;
    }
    return true;
}
