#include "Sound.h"

#include "DetMath.h"

#include <cmath>

namespace assets
{

double NoteFrequency(int midiNote)
{
    return 440.0 * DetExp2((midiNote - 69) / 12.0);
}

const std::vector<int>& MarchBeatNotes()
{
    // A minor: A G F E walking down and back up, then the turn C B C E that
    // leads home to A.
    static const std::vector<int> notes = {45, 43, 41, 40, 48, 47, 52};
    return notes;
}

namespace
{

constexpr double Dt = 1.0 / SampleRate;

int Samples(double seconds)
{
    return static_cast<int>(seconds * SampleRate + 0.5);
}

double SoftClip(double x)
{
    // tanh through the deterministic exponential.
    const double e = DetExp(2.0 * x);
    return (e - 1.0) / (e + 1.0);
}

// Triangle wave of a phase in turns.
double Triangle(double turns)
{
    const double f = turns - std::floor(turns);
    return f < 0.5 ? 4.0 * f - 1.0 : 3.0 - 4.0 * f;
}

// Smooths a step of a waveform: the correction for a phase t (in turns since
// the step) advancing by dt turns per sample.
double PolyBlep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Pulse wave of a phase in turns with the given duty cycle, its edges
// band-limited for a phase step of dt turns per sample so high notes do not
// fold back as whistles.
double Pulse(double turns, double duty, double dt)
{
    const double f = turns - std::floor(turns);
    double v = f < duty ? 1.0 : -1.0;
    v += PolyBlep(f, dt);
    const double g = f - duty + (f < duty ? 1.0 : 0.0);
    v -= PolyBlep(g, dt);
    return v;
}

// Fades the first and last few milliseconds so no sound starts or stops with a click.
void FadeEnds(std::vector<double>& s, double inSeconds, double outSeconds)
{
    const int in = Samples(inSeconds);
    const int out = Samples(outSeconds);
    const int n = static_cast<int>(s.size());
    for (int i = 0; i < in && i < n; ++i)
    {
        s[static_cast<size_t>(i)] *= static_cast<double>(i) / in;
    }
    for (int i = 0; i < out && i < n; ++i)
    {
        s[static_cast<size_t>(n - 1 - i)] *= static_cast<double>(i) / out;
    }
}

// One-pole low-pass filter state.
struct LowPass
{
    double value = 0.0;
    double Step(double input, double cutoffHz)
    {
        const double k = 1.0 - DetExp(-TwoPi * cutoffHz * Dt);
        value += (input - value) * k;
        return value;
    }
};

std::vector<double> MarchBeat(int note)
{
    const double f = NoteFrequency(note);
    const int n = Samples(0.26);
    std::vector<double> s(static_cast<size_t>(n));
    double phase = 0.0;
    Noise noise(1000u + static_cast<unsigned>(note));
    LowPass click;
    for (int i = 0; i < n; ++i)
    {
        const double t = i * Dt;
        // A thump: the pitch falls onto the note in the first 30 ms.
        const double bend = 1.0 + 1.2 * DetExp(-t / 0.012);
        phase += f * bend * Dt;
        const double body = DetSin(TwoPi * phase) + 0.35 * DetSin(2.0 * TwoPi * phase) +
                            0.18 * Triangle(3.0 * phase);
        const double envelope = Clamp01(t / 0.004) * DetExp(-t / 0.085);
        const double tap = click.Step(noise.Signed(), 1800.0) * DetExp(-t / 0.006) * 0.8;
        s[static_cast<size_t>(i)] = SoftClip(1.6 * body * envelope) + tap;
    }
    FadeEnds(s, 0.001, 0.02);
    return s;
}

std::vector<double> TitleConfirm()
{
    // A bright rising arpeggio that rings out: E5 G#5 B5 E6 B6.
    const int notes[] = {76, 80, 83, 88, 95};
    const double step = 0.055;
    const int n = Samples(0.62);
    std::vector<double> s(static_cast<size_t>(n));
    for (int k = 0; k < 5; ++k)
    {
        const double f = NoteFrequency(notes[k]);
        const int start = Samples(k * step);
        const double ring = k == 4 ? 0.16 : (k == 3 ? 0.12 : 0.05);
        for (int i = start; i < n; ++i)
        {
            const double t = (i - start) * Dt;
            const double phase = f * t;
            const double tone =
                0.55 * Pulse(phase, 0.25, f * Dt) + 0.45 * DetSin(TwoPi * phase * 2.0);
            const double envelope = Clamp01(t / 0.003) * DetExp(-t / ring);
            s[static_cast<size_t>(i)] += tone * envelope * 0.5;
        }
    }
    FadeEnds(s, 0.0, 0.03);
    return s;
}

std::vector<double> Shot()
{
    // A short laser chirp falling from 1500 to 350 Hz.
    const int n = Samples(0.13);
    std::vector<double> s(static_cast<size_t>(n));
    double phase = 0.0;
    LowPass tone;
    for (int i = 0; i < n; ++i)
    {
        const double t = i * Dt;
        const double f = 350.0 + 1150.0 * DetExp(-t / 0.035);
        phase += f * Dt;
        const double wave = Pulse(phase, 0.3, f * Dt) * 0.6 + DetSin(TwoPi * phase) * 0.4;
        const double envelope = Clamp01(t / 0.002) * DetExp(-t / 0.05);
        s[static_cast<size_t>(i)] = tone.Step(wave, 5000.0) * envelope;
    }
    FadeEnds(s, 0.0, 0.015);
    return s;
}

// Filtered noise whose brightness falls as it decays, over a falling sine.
std::vector<double> Explosion(double seconds, double startCutoff, double endCutoff, double decay,
                              double rumbleHz, double rumbleLevel, unsigned seed)
{
    const int n = Samples(seconds);
    std::vector<double> s(static_cast<size_t>(n));
    Noise noise(seed);
    LowPass first;
    LowPass second;
    double phase = 0.0;
    double held = 0.0;
    int holdLeft = 0;
    for (int i = 0; i < n; ++i)
    {
        const double t = i * Dt;
        const double progress = t / seconds;
        const double cutoff = endCutoff + (startCutoff - endCutoff) * DetExp(-progress * 4.0);
        // Sample-and-hold noise gives the crunchy grain of old sound chips;
        // holds of uneven length keep it from singing at a fixed pitch.
        if (--holdLeft <= 0)
        {
            held = noise.Signed();
            holdLeft = noise.Range(2, 4);
        }
        const double hiss = second.Step(first.Step(held, cutoff), cutoff * 1.5);
        phase += rumbleHz * (1.0 - 0.6 * progress) * Dt;
        const double attack = Clamp01(t / 0.004);
        const double rumble =
            DetSin(TwoPi * phase) * rumbleLevel * attack * DetExp(-t / (decay * 1.4));
        const double envelope = attack * DetExp(-t / decay);
        s[static_cast<size_t>(i)] = SoftClip(1.5 * (hiss * 2.2 * envelope + rumble));
    }
    FadeEnds(s, 0.002, 0.04);
    return s;
}

std::vector<double> ShipHit()
{
    std::vector<double> s = Explosion(1.5, 4000.0, 250.0, 0.45, 70.0, 0.9, 0xA11CE);
    // A falling alarm tone over the blast: the ship is lost.
    double phase = 0.0;
    const int n = Samples(0.7);
    for (int i = 0; i < n; ++i)
    {
        const double t = i * Dt;
        phase += (900.0 - 700.0 * (t / 0.7)) * Dt;
        const double envelope = Clamp01(t / 0.01) * DetExp(-t / 0.25);
        s[static_cast<size_t>(i)] +=
            Pulse(phase, 0.5, (900.0 - 700.0 * (t / 0.7)) * Dt) * envelope * 0.25;
    }
    FadeEnds(s, 0.0, 0.04);
    return s;
}

std::vector<double> EnemyBurst()
{
    return Explosion(0.38, 6000.0, 600.0, 0.09, 140.0, 0.5, 0xB0B);
}

std::vector<double> BonusBurst()
{
    std::vector<double> s = Explosion(0.95, 7000.0, 400.0, 0.2, 110.0, 0.6, 0xC0FFEE);
    // A sparkle of high notes falling like coins after the blast.
    const int notes[] = {96, 91, 93, 88, 91, 84};
    for (int k = 0; k < 6; ++k)
    {
        const double f = NoteFrequency(notes[k]);
        const int start = Samples(0.12 + k * 0.07);
        for (int i = start; i < static_cast<int>(s.size()); ++i)
        {
            const double t = (i - start) * Dt;
            const double envelope = Clamp01(t / 0.002) * DetExp(-t / 0.06);
            s[static_cast<size_t>(i)] += DetSin(TwoPi * f * t) * envelope * 0.45;
        }
    }
    FadeEnds(s, 0.0, 0.04);
    return s;
}

std::vector<double> GrazeTick()
{
    // Two quick high pips a fifth apart: short enough to repeat every update.
    const int n = Samples(0.055);
    std::vector<double> s(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
    {
        const double t = i * Dt;
        const double f = t < 0.02 ? 2637.0 : 3951.0;
        const double local = t < 0.02 ? t : t - 0.02;
        const double envelope = Clamp01(local / 0.001) * DetExp(-local / 0.012);
        s[static_cast<size_t>(i)] =
            (DetSin(TwoPi * f * t) * 0.8 + Triangle(f * t) * 0.2) * envelope;
    }
    FadeEnds(s, 0.0, 0.006);
    return s;
}

// Adds a voice into a looping buffer: samples past the end wrap to the start,
// so the loop point is seamless.
void AddLooped(std::vector<double>& loop, int start, const std::vector<double>& voice)
{
    const int n = static_cast<int>(loop.size());
    for (size_t i = 0; i < voice.size(); ++i)
    {
        loop[static_cast<size_t>((start + static_cast<int>(i)) % n)] += voice[i];
    }
}

std::vector<double> Note(double f, double seconds, double decay, double duty, double level,
                         bool pulse)
{
    const int n = Samples(seconds);
    std::vector<double> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
    {
        const double t = i * Dt;
        const double phase = f * t;
        const double wave = pulse ? Pulse(phase, duty, f * Dt) : Triangle(phase);
        const double release = Clamp01((seconds - t) / 0.01);
        v[static_cast<size_t>(i)] =
            wave * level * Clamp01(t / 0.003) * DetExp(-t / decay) * release;
    }
    return v;
}

std::vector<double> BonusMusic()
{
    // 150 beats a minute, 16th notes of 0.1 s (2205 samples), four bars:
    // A minor, F, G, E, with a bouncing bass, a chord arpeggio and a warbling
    // lead that makes the bonus ship sound like a visitor.
    constexpr int Sixteenth = 2205;
    constexpr int Bars = 4;
    std::vector<double> loop(static_cast<size_t>(Sixteenth * 16 * Bars));
    const int roots[Bars] = {45, 41, 43, 40};
    const int chords[Bars][4] = {
        {57, 60, 64, 69}, {53, 57, 60, 65}, {55, 59, 62, 67}, {52, 56, 59, 64}};
    const int lead[Bars][8] = {{76, 0, 79, 76, 81, 0, 79, 76},
                               {77, 0, 76, 72, 74, 0, 72, 69},
                               {74, 0, 71, 74, 79, 0, 77, 74},
                               {76, 0, 75, 76, 80, 83, 80, 76}};
    Noise hatNoise(0x5EED);
    for (int bar = 0; bar < Bars; ++bar)
    {
        for (int step = 0; step < 16; ++step)
        {
            const int at = (bar * 16 + step) * Sixteenth;
            // Bass: eighth notes, root and octave in turn.
            if (step % 2 == 0)
            {
                const int note = roots[bar] + ((step / 2) % 2 == 0 ? 0 : 12);
                AddLooped(loop, at, Note(NoteFrequency(note), 0.19, 0.12, 0.5, 0.55, false));
            }
            // Arpeggio: up and down the chord, one note per 16th.
            const int order[] = {0, 1, 2, 3, 2, 1, 2, 3};
            const int arp = chords[bar][order[step % 8]] + 12;
            AddLooped(loop, at, Note(NoteFrequency(arp), 0.09, 0.05, 0.25, 0.16, true));
            // Off-beat hat: a tick of high noise.
            if (step % 4 == 2)
            {
                std::vector<double> hat(static_cast<size_t>(Samples(0.03)));
                LowPass lp;
                for (size_t i = 0; i < hat.size(); ++i)
                {
                    const double n = hatNoise.Signed();
                    hat[i] = (n - lp.Step(n, 6000.0)) *
                             DetExp(-static_cast<double>(i) * Dt / 0.008) * 0.35;
                }
                AddLooped(loop, at, hat);
            }
        }
        // Lead: eighth notes with vibrato.
        for (int k = 0; k < 8; ++k)
        {
            const int note = lead[bar][k];
            if (note == 0)
            {
                continue;
            }
            const double f = NoteFrequency(note);
            const int n = Samples(0.2);
            std::vector<double> v(static_cast<size_t>(n));
            double phase = 0.0;
            for (int i = 0; i < n; ++i)
            {
                const double t = i * Dt;
                phase += f * (1.0 + 0.012 * DetSin(TwoPi * 7.0 * t)) * Dt;
                const double release = Clamp01((0.2 - t) / 0.02);
                v[static_cast<size_t>(i)] =
                    (Pulse(phase, 0.5, f * Dt) * 0.6 + DetSin(TwoPi * phase) * 0.4) * 0.28 *
                    Clamp01(t / 0.005) * release;
            }
            LowPass soften;
            for (double& x : v)
            {
                x = soften.Step(x, 3500.0);
            }
            AddLooped(loop, (bar * 16 + k * 2) * Sixteenth, v);
        }
    }
    return loop;
}

} // namespace

std::vector<int16_t> Normalize(const std::vector<double>& signal, double peakDb)
{
    double peak = 0.0;
    for (double x : signal)
    {
        peak = std::fabs(x) > peak ? std::fabs(x) : peak;
    }
    std::vector<int16_t> out(signal.size());
    if (peak <= 0.0)
    {
        return out;
    }
    const double target = 32767.0 * DetExp(peakDb / 20.0 * 2.302585092994046);
    const double gain = target / peak;
    for (size_t i = 0; i < signal.size(); ++i)
    {
        out[i] = static_cast<int16_t>(std::floor(signal[i] * gain + 0.5));
    }
    return out;
}

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v)
    {
        out.push_back(static_cast<uint8_t>(v & 0xFF));
        out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    };
    auto put32 = [&](uint32_t v)
    {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    auto tag = [&](const char* t)
    {
        for (int i = 0; i < 4; ++i)
        {
            out.push_back(static_cast<uint8_t>(t[i]));
        }
    };
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(SampleRate);
    put32(SampleRate * 2); // bytes per second
    put16(2);              // bytes per frame
    put16(16);             // bits per sample
    tag("data");
    put32(dataBytes);
    for (int16_t s : samples)
    {
        put16(static_cast<uint16_t>(s));
    }
    return out;
}

std::vector<SoundFile> BuildSounds()
{
    std::vector<SoundFile> sounds;
    sounds.push_back(
        {"M", 1, "bgm_bonus.wav", "bonus ship tune, looped", Normalize(BonusMusic(), -3.0)});
    const std::vector<int>& beats = MarchBeatNotes();
    for (size_t i = 0; i < beats.size(); ++i)
    {
        const int number = static_cast<int>(i) + 1;
        sounds.push_back({"S", number, "se_beat" + std::to_string(number) + ".wav",
                          "march beat " + std::to_string(number),
                          Normalize(MarchBeat(beats[i]), -2.0)});
    }
    sounds.push_back({"S", 8, "se_confirm.wav", "title confirm", Normalize(TitleConfirm(), -2.0)});
    sounds.push_back({"S", 9, "se_shot.wav", "shot", Normalize(Shot(), -3.0)});
    sounds.push_back({"S", 10, "se_ship_hit.wav", "ship destroyed", Normalize(ShipHit(), -1.0)});
    sounds.push_back(
        {"S", 11, "se_enemy_burst.wav", "enemy destroyed", Normalize(EnemyBurst(), -2.0)});
    sounds.push_back(
        {"S", 12, "se_bonus_burst.wav", "bonus ship destroyed", Normalize(BonusBurst(), -1.5)});
    sounds.push_back({"S", 13, "se_graze.wav", "graze", Normalize(GrazeTick(), -3.0)});
    return sounds;
}

} // namespace assets
