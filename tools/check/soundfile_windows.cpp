// SPDX-License-Identifier: Apache-2.0
// Sound files read as the game reads them on Windows: the game hands PlaySound a file's bytes,
// and the platform's multimedia I/O finds the RIFF chunks in the same bytes here. The game takes
// what PlaySound takes; the checker asks for what both platforms' readers take (16-bit PCM and the
// like), so that a library made on one plays on the other.

#include "tools/check/soundfile.h"

#include <algorithm>

#include <windows.h>

// After windows.h, whose types they use.
#include <mmreg.h>
#include <mmsystem.h>

namespace lautgarten::check {

SoundFile decodeSound(QByteArray& bytes) {
    MMIOINFO memory{};
    memory.fccIOProc = FOURCC_MEM;
    memory.pchBuffer = bytes.data();
    memory.cchBuffer = LONG(bytes.size());
    HMMIO file = mmioOpenW(nullptr, &memory, MMIO_READ);
    const SoundFile notWav{
        QStringLiteral("Das ist keine WAV-Datei, die das Spiel abspielen kann.")};
    if (!file)
        return notWav;
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    WAVEFORMATEXTENSIBLE format{};
    const auto close = [&](SoundFile result) {
        mmioClose(file, 0);
        return result;
    };
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR ||
        mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR ||
        chunk.cksize < sizeof(PCMWAVEFORMAT))
        return close(notWav);
    const LONG wanted = LONG(std::min<DWORD>(chunk.cksize, sizeof format));
    if (mmioRead(file, reinterpret_cast<HPSTR>(&format), wanted) != wanted)
        return close(notWav);
    mmioAscend(file, &chunk, 0);
    WORD tag = format.Format.wFormatTag;
    if (tag == WAVE_FORMAT_EXTENSIBLE && chunk.cksize >= sizeof format)
        tag = WORD(format.SubFormat.Data1);
    const WORD bits = format.Format.wBitsPerSample;
    const bool playable = (tag == WAVE_FORMAT_PCM && (bits == 8 || bits == 16 || bits == 32)) ||
                          (tag == WAVE_FORMAT_IEEE_FLOAT && bits == 32);
    if (!playable || format.Format.nChannels == 0 || format.Format.nAvgBytesPerSec == 0)
        return close(notWav);
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return close(notWav);
    if (chunk.cksize == 0)
        return close({QStringLiteral("Die WAV-Datei enthält keinen Ton.")});
    return close({{}, int(qint64(chunk.cksize) * 1000 / format.Format.nAvgBytesPerSec)});
}

} // namespace lautgarten::check
