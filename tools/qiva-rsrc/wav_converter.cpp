#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "toolkit/core/sound.h"
#include "tools/qiva-rsrc/converters.h"

namespace qiva_rsrc {

void ConvertWav(const std::string& path, const ConverterOptions& options, Bytes& out) {
    if (!options.empty()) throw std::runtime_error("the wav converter takes no options");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    const Bytes wave((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Bytes snd;
    const std::string error = qiva::WaveToSnd(wave.data(), wave.size(), snd);
    if (!error.empty()) throw std::runtime_error(path + ": " + error);
    out.insert(out.end(), snd.begin(), snd.end());
}

} // namespace qiva_rsrc
