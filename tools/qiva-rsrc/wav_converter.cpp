#include <stdexcept>
#include <string>

#include "platform/file_io.h"
#include "toolkit/core/sound.h"
#include "tools/qiva-rsrc/converters.h"

namespace qiva_rsrc {

void ConvertWav(const std::string& path, const ConverterOptions& options, Bytes& out) {
    if (!options.empty()) throw std::runtime_error("the wav converter takes no options");
    Bytes wave;
    std::string readError;
    if (!platform::ReadInputFile(path, platform::InputKind::Wave, wave, readError))
        throw std::runtime_error(readError);
    Bytes snd;
    const std::string error = qiva::WaveToSnd(wave.data(), wave.size(), snd);
    if (!error.empty()) throw std::runtime_error(path + ": " + error);
    out.insert(out.end(), snd.begin(), snd.end());
}

} // namespace qiva_rsrc
