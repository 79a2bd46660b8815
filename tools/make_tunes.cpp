// Writes the program's two short tunes as standard MIDI files (format 0):
//   make_tunes <folder>  ->  <folder>/Kouka.mid (button tune), <folder>/Kouka2.mid (new-mail tune)
// The committed files in data/Sound are this program's output; a test keeps them in step.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int TicksPerQuarter = 480;
constexpr int Eighth = TicksPerQuarter / 2;
constexpr int Quarter = TicksPerQuarter;
constexpr int Half = TicksPerQuarter * 2;
constexpr int Whole = TicksPerQuarter * 4;

// General MIDI programs (zero-based).
constexpr int MusicBox = 10 - 1;
constexpr int Marimba = 13 - 1;
constexpr int ElectricPiano = 5 - 1;
constexpr int AcousticBass = 33 - 1;

struct Note {
    int start;    // ticks from the beginning
    int length;   // ticks
    int key;      // MIDI key number, 60 = middle C
    int velocity; // 1..127
};

struct Part {
    int channel;
    int program;
    std::vector<Note> notes;
};

struct Tune {
    std::string fileName;
    int beatsPerMinute;
    std::vector<Part> parts;
};

struct Event {
    int tick;
    int order; // note-offs before note-ons on the same tick
    Bytes data;
};

// A part written as consecutive notes: (key, length); key 0 is a rest.
std::vector<Note> phrase(std::initializer_list<std::pair<int, int>> steps, int velocity,
                         int start = 0) {
    std::vector<Note> notes;
    int tick = start;
    for (const auto& [key, length] : steps) {
        if (key != 0) {
            // A short gap keeps repeated keys distinct.
            notes.push_back({tick, length - length / 8, key, velocity});
        }
        tick += length;
    }
    return notes;
}

void appendVariableLength(Bytes& out, std::uint32_t value) {
    Bytes reversed{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0) {
        reversed.push_back(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
    }
    out.insert(out.end(), reversed.rbegin(), reversed.rend());
}

void appendBigEndian(Bytes& out, std::uint32_t value, int byteCount) {
    for (int shift = (byteCount - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

Bytes trackEvents(const Tune& tune) {
    const std::uint32_t microsecondsPerQuarter = 60'000'000 / tune.beatsPerMinute;
    std::vector<Event> events;
    Bytes tempo{0xFF, 0x51, 0x03};
    appendBigEndian(tempo, microsecondsPerQuarter, 3);
    events.push_back({0, 0, tempo});
    events.push_back({0, 0, {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}}); // 4/4
    int lastTick = 0;
    for (const Part& part : tune.parts) {
        const auto channel = static_cast<std::uint8_t>(part.channel);
        events.push_back(
            {0,
             1,
             {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(part.program)}});
        for (const Note& note : part.notes) {
            const auto key = static_cast<std::uint8_t>(note.key);
            events.push_back({note.start,
                              3,
                              {static_cast<std::uint8_t>(0x90 | channel), key,
                               static_cast<std::uint8_t>(note.velocity)}});
            events.push_back(
                {note.start + note.length, 2, {static_cast<std::uint8_t>(0x80 | channel), key, 0}});
            lastTick = std::max(lastTick, note.start + note.length);
        }
    }
    // Let the last notes ring a little before the tune ends.
    events.push_back({lastTick + Quarter, 4, {0xFF, 0x2F, 0x00}});
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });

    Bytes track;
    int previousTick = 0;
    for (const Event& event : events) {
        appendVariableLength(track, static_cast<std::uint32_t>(event.tick - previousTick));
        track.insert(track.end(), event.data.begin(), event.data.end());
        previousTick = event.tick;
    }
    return track;
}

Bytes midiFile(const Tune& tune) {
    Bytes file{'M', 'T', 'h', 'd'};
    appendBigEndian(file, 6, 4);
    appendBigEndian(file, 0, 2); // format 0: one track
    appendBigEndian(file, 1, 2);
    appendBigEndian(file, TicksPerQuarter, 2);
    const Bytes track = trackEvents(tune);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    appendBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

// Button tune: a calm music-box phrase over soft electric-piano chords, four bars.
Tune buttonTune() {
    Part melody{0, MusicBox,
                phrase({{76, Quarter},
                        {79, Quarter},
                        {84, Quarter},
                        {83, Quarter}, // E G C B
                        {81, Quarter},
                        {79, Quarter},
                        {76, Quarter},
                        {79, Quarter}, // A G E G
                        {77, Quarter},
                        {81, Quarter},
                        {79, Quarter},
                        {76, Quarter}, // F A G E
                        {74, Quarter},
                        {76, Quarter},
                        {72, Half}}, // D E C
                       96)};
    Part chords{1, ElectricPiano, {}};
    const int roots[][3] = {{48, 52, 55}, {45, 52, 57}, {41, 48, 53}, {43, 50, 55}};
    for (int bar = 0; bar < 4; ++bar) {
        for (int key : roots[bar]) {
            chords.notes.push_back({bar * Whole, Whole, key, 56});
        }
    }
    chords.notes.push_back({3 * Whole + Half, Half, 48, 56}); // resolve to C
    return {"Kouka.mid", 120, {melody, chords}};
}

// New-mail tune: a bright marimba call with a walking bass, four bars.
Tune newMailTune() {
    Part melody{0, Marimba,
                phrase({{79, Eighth},  {84, Eighth},  {88, Eighth},  {91, Eighth}, // G C E G
                        {88, Quarter}, {84, Quarter},                              // E C
                        {86, Eighth},  {89, Eighth},  {93, Quarter}, {91, Half},   // D F A G
                        {88, Eighth},  {86, Eighth},  {84, Eighth},  {86, Eighth}, // E D C D
                        {88, Quarter}, {91, Quarter},                              // E G
                        {96, Quarter}, {91, Eighth},  {88, Eighth},  {84, Half}},  // C G E C
                       110)};
    Part bass{1, AcousticBass,
              phrase({{48, Quarter},
                      {52, Quarter},
                      {55, Quarter},
                      {52, Quarter},
                      {50, Quarter},
                      {53, Quarter},
                      {55, Quarter},
                      {47, Quarter},
                      {48, Quarter},
                      {52, Quarter},
                      {45, Quarter},
                      {43, Quarter},
                      {41, Quarter},
                      {43, Quarter},
                      {48, Half}},
                     90)};
    return {"Kouka2.mid", 140, {melody, bass}};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_tunes <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (const Tune& tune : {buttonTune(), newMailTune()}) {
        const Bytes bytes = midiFile(tune);
        std::ofstream out(folder / tune.fileName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "cannot write " << (folder / tune.fileName) << '\n';
            return 1;
        }
    }
    return 0;
}
