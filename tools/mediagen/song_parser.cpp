#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

#include "mediagen/song.h"

namespace mdx::media {

int Song::totalSteps() const {
  int steps = 0;
  for (const SongEntry& e : order) steps += patterns[e.pattern].steps;
  return steps;
}

std::vector<NoteEvent> Song::flatten() const {
  std::vector<NoteEvent> all;
  int start = 0;
  for (const SongEntry& e : order) {
    const Pattern& p = patterns[e.pattern];
    for (NoteEvent n : p.notes) {
      n.step += start;
      if (!instruments[n.instrument].drums) n.pitch += e.transpose;
      all.push_back(n);
    }
    start += p.steps;
  }
  return all;
}

int parseNoteName(const std::string& token) {
  static const int kOffsets[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (token.size() < 2) return -1;
  const char letter = char(std::toupper(static_cast<unsigned char>(token[0])));
  if (letter < 'A' || letter > 'G') return -1;
  int semitone = kOffsets[letter - 'A'];
  size_t i = 1;
  if (token[i] == '#') {
    ++semitone;
    ++i;
  } else if (token[i] == 'b') {
    --semitone;
    ++i;
  }
  if (i + 1 != token.size() || !std::isdigit(static_cast<unsigned char>(token[i]))) return -1;
  return (token[i] - '0' + 1) * 12 + semitone;
}

namespace {

class SongReader {
 public:
  explicit SongReader(Song& song) : song_(song) {}

  bool readLine(const std::string& raw, int lineNumber, std::string& error);
  bool finish(std::string& error);

 private:
  bool fail(const std::string& what) {
    error_ = "line " + std::to_string(line_) + ": " + what;
    return false;
  }
  bool readInstrument(std::istringstream& in, bool drums);
  bool readPatternLine(const std::string& voice, std::istringstream& in);
  bool readOrder(std::istringstream& in);
  bool number(const std::string& token, double& value);
  Pattern& pattern() { return song_.patterns[size_t(open_)]; }

  Song& song_;
  std::map<std::string, int> instrumentIndex_;
  std::map<std::string, int> patternIndex_;
  int open_ = -1;  // index of the pattern being read, or -1
  int line_ = 0;
  std::string error_;
};

bool SongReader::number(const std::string& token, double& value) {
  char* end = nullptr;
  value = std::strtod(token.c_str(), &end);
  if (token.empty() || *end != '\0') return fail("'" + token + "' is not a number");
  return true;
}

bool SongReader::readInstrument(std::istringstream& in, bool drums) {
  Instrument inst;
  inst.drums = drums;
  if (!(in >> inst.name)) return fail("instrument without a name");
  if (instrumentIndex_.count(inst.name)) return fail("instrument '" + inst.name + "' twice");
  if (!drums) {
    static const std::map<std::string, Wave> kWaves = {
        {"sine", Wave::Sine},     {"triangle", Wave::Triangle},
        {"square", Wave::Square}, {"pulse", Wave::Pulse},
        {"saw", Wave::Saw},       {"bell", Wave::Bell},
        {"pluck", Wave::Pluck},   {"pad", Wave::Pad}};
    std::string wave;
    if (!(in >> wave) || !kWaves.count(wave)) return fail("unknown wave '" + wave + "'");
    inst.wave = kWaves.at(wave);
  }
  const std::map<std::string, double*> keys = {
      {"volume", &inst.volume},   {"attack", &inst.attack},   {"decay", &inst.decay},
      {"sustain", &inst.sustain}, {"release", &inst.release}, {"pan", &inst.pan},
      {"cutoff", &inst.cutoff},   {"vibrato", &inst.vibrato}, {"depth", &inst.depth},
      {"duty", &inst.duty},       {"detune", &inst.detune},   {"echo", &inst.echo}};
  std::string key, value;
  while (in >> key) {
    if (!keys.count(key)) return fail("unknown setting '" + key + "'");
    if (!(in >> value)) return fail("setting '" + key + "' has no value");
    if (!number(value, *keys.at(key))) return false;
  }
  if (inst.volume < 0 || inst.volume > 2 || inst.attack < 0 || inst.decay <= 0 ||
      inst.release < 0 || inst.pan < -1 || inst.pan > 1 || inst.duty <= 0 || inst.duty >= 1) {
    return fail("instrument '" + inst.name + "' has a setting out of range");
  }
  instrumentIndex_[inst.name] = int(song_.instruments.size());
  song_.instruments.push_back(inst);
  return true;
}

bool SongReader::readPatternLine(const std::string& voice, std::istringstream& in) {
  if (!instrumentIndex_.count(voice)) return fail("unknown instrument '" + voice + "'");
  const int index = instrumentIndex_.at(voice);
  const bool drums = song_.instruments[index].drums;
  int step = 0;
  NoteEvent* last = nullptr;
  std::string token;
  while (in >> token) {
    if (token == "|") continue;
    if (token == ".") {
      last = nullptr;
    } else if (token == "-") {
      if (!last) return fail("'-' holds nothing at step " + std::to_string(step + 1));
      ++last->length;
    } else {
      int pitch = -1;
      if (drums) {
        if (token.size() == 1 && std::string("kshotc").find(token[0]) != std::string::npos) {
          pitch = token[0];
        }
      } else {
        pitch = parseNoteName(token);
      }
      if (pitch < 0) return fail("'" + token + "' is not a " + (drums ? "drum" : "note"));
      pattern().notes.push_back({index, step, 1, pitch});
      last = &pattern().notes.back();
    }
    ++step;
  }
  if (step > pattern().steps) pattern().steps = step;
  return true;
}

bool SongReader::readOrder(std::istringstream& in) {
  std::string token;
  while (in >> token) {
    const size_t sign = token.find_first_of("+-");
    const std::string name = token.substr(0, sign);
    int transpose = 0;
    if (sign != std::string::npos) {
      char* end = nullptr;
      const std::string amount = token.substr(sign);
      transpose = int(std::strtol(amount.c_str(), &end, 10));
      if (amount.size() < 2 || *end != '\0') return fail("bad transposition in '" + token + "'");
    }
    if (!patternIndex_.count(name)) return fail("unknown pattern '" + name + "'");
    song_.order.push_back({patternIndex_.at(name), transpose});
  }
  return true;
}

bool SongReader::readLine(const std::string& raw, int lineNumber, std::string& error) {
  line_ = lineNumber;
  // A comment starts with '#' at the start of a word; inside a word it is a sharp (F#4).
  size_t comment = raw.find('#');
  while (comment != std::string::npos && comment > 0 &&
         !std::isspace(static_cast<unsigned char>(raw[comment - 1]))) {
    comment = raw.find('#', comment + 1);
  }
  const std::string text = raw.substr(0, comment);
  std::istringstream in(text);
  std::string word;
  bool ok = true;
  if (!(in >> word)) return true;
  if (open_ >= 0) {
    if (word == "end") {
      if (pattern().steps == 0) ok = fail("pattern '" + pattern().name + "' is empty");
      open_ = -1;
    } else {
      ok = readPatternLine(word, in);
    }
  } else if (word == "title") {
    std::getline(in >> std::ws, song_.title);
    song_.title.erase(song_.title.find_last_not_of(" \t") + 1);
  } else if (word == "tempo") {
    std::string v;
    ok = (in >> v) && number(v, song_.tempo);
    if (ok && (song_.tempo < 30 || song_.tempo > 300)) ok = fail("tempo out of 30 to 300");
    if (!ok && error_.empty()) fail("tempo needs a number");
  } else if (word == "echo") {
    std::string a, b, c;
    double steps = 0;
    ok = (in >> a >> b >> c) && number(a, steps) && number(b, song_.echoFeedback) &&
         number(c, song_.echoMix);
    if (ok && (steps < 1 || song_.echoFeedback < 0 || song_.echoFeedback >= 1)) {
      ok = fail("echo needs steps >= 1 and feedback below 1");
    }
    if (!ok && error_.empty()) fail("echo needs steps, feedback and mix");
    song_.echoSteps = int(steps);
  } else if (word == "instrument" || word == "drums") {
    ok = readInstrument(in, word == "drums");
  } else if (word == "pattern") {
    std::string name;
    if (!(in >> name)) {
      ok = fail("pattern without a name");
    } else if (patternIndex_.count(name)) {
      ok = fail("pattern '" + name + "' twice");
    } else {
      patternIndex_[name] = int(song_.patterns.size());
      song_.patterns.push_back({name, 0, {}});
      open_ = int(song_.patterns.size()) - 1;
    }
  } else if (word == "song") {
    ok = readOrder(in);
  } else {
    ok = fail("unknown word '" + word + "'");
  }
  if (!ok) error = error_;
  return ok;
}

bool SongReader::finish(std::string& error) {
  if (open_ >= 0) {
    error = "pattern '" + pattern().name + "' has no end";
    return false;
  }
  if (song_.order.empty()) {
    error = "the song has no order (a 'song' line)";
    return false;
  }
  return true;
}

}  // namespace

bool parseSong(const std::string& text, Song& song, std::string& error) {
  song = Song();
  SongReader reader(song);
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!reader.readLine(line, ++number, error)) return false;
  }
  return reader.finish(error);
}

}  // namespace mdx::media
