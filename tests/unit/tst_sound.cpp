#include "platform/media/SoundPlayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The capture sound: played without waiting, and silence, not a failure, where there is no
// file, no audio device or nothing playable. Every player frees itself (the leak checker of the
// sanitizer build watches that).
class TestSound : public QObject {
    Q_OBJECT

private slots:
    void playsOrStaysSilent();
};

// A tenth of a second of silence: 16-bit mono PCM at 8 kHz.
static QByteArray silentWave()
{
    const quint32 samples = 800;
    QByteArray wave;
    auto u32 = [&](quint32 v) { wave.append(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&](quint16 v) { wave.append(reinterpret_cast<const char *>(&v), 2); };
    wave.append("RIFF");
    u32(36 + samples * 2);
    wave.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    wave.append("data");
    u32(samples * 2);
    wave.append(QByteArray(samples * 2, '\0'));
    return wave;
}

void TestSound::playsOrStaysSilent()
{
    QTemporaryDir dir;
    const QString good = dir.filePath("endSnap.WAV");
    const QString bad = dir.filePath("broken.WAV");
    {
        QFile f(good);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(silentWave());
    }
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a sound");
    }
    SoundPlayer::playAsync(good);
    SoundPlayer::playAsync(bad);
    SoundPlayer::playAsync(dir.filePath("missing.WAV"));
    // Let the players reach their end and free themselves.
    QTest::qWait(1500);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
