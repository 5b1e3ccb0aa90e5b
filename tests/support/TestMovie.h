#pragma once

#include <QFile>
#include <QString>
#include <gst/gst.h>

// Writes a minute of GStreamer's test picture, small, as Theora in Ogg; false when it could not.
inline bool makeTestMovie(const QString &path)
{
    gst_init(nullptr, nullptr);
    const QByteArray line = "videotestsrc num-buffers=600 ! video/x-raw,width=64,height=48,"
                            "framerate=10/1 ! theoraenc ! oggmux ! filesink location=" +
                            QFile::encodeName(path);
    GstElement *pipeline = gst_parse_launch(line.constData(), nullptr);
    if (!pipeline)
        return false;
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *end = gst_bus_timed_pop_filtered(
        bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool done = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end)
        gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return done;
}
