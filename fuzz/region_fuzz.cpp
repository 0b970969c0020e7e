// Region records from arbitrary words, as a damaged picture or resource could hand them over. Every
// operation must stay within its input, and every result must be in normal form; an operation on a
// damaged record must give what it gives on that record's normal form.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/toolkit/graphics/region_check.h"
#include "toolkit/graphics/region_ops.h"

namespace {

using namespace qiva::region;
using Record = std::vector<std::int16_t>;

void Check(const Record& rgn) {
    if (!qiva::test::NormalFormFault(rgn).empty()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    Record words(size / 2);
    std::memcpy(words.data(), data, words.size() * 2);
    // The first word splits the rest into the two operands; the second and third are an offset and
    // a point to test.
    const std::size_t rest = words.size() - 3;
    const std::size_t split = static_cast<std::uint16_t>(words[0]) % (rest + 1);
    const std::int16_t dh = words[1], dv = words[2];
    const Words a(words.data() + 3, split), b(words.data() + 3 + split, rest - split);

    static Engine engine;
    Record out, normalA, normalB, again;
    engine.Normalise(a, normalA);
    engine.Normalise(b, normalB);
    Check(normalA);
    Check(normalB);
    engine.Normalise(normalA, again);
    if (again != normalA) std::abort();
    for (Op op : {Op::Sect, Op::Union, Op::Diff, Op::Xor}) {
        engine.Combine(op, a, b, out);
        Check(out);
        engine.Combine(op, normalA, normalB, again);
        if (again != out) std::abort();
    }
    engine.Offset(a, dh, dv, out);
    Check(out);
    // The box is trusted as the quick answer, so only a record whose box is right must agree.
    const Box box = BoxOf(a), normalBox = BoxOf(normalA);
    const bool sameBox = box.top == normalBox.top && box.left == normalBox.left &&
                         box.bottom == normalBox.bottom && box.right == normalBox.right;
    if (!IsRectangular(a) && sameBox && engine.PtIn(a, dv, dh) != engine.PtIn(normalA, dv, dh)) std::abort();
    engine.RectIn(a, dv, dh, static_cast<std::int16_t>(dv + 8), static_cast<std::int16_t>(dh + 8));
    int lastBottom = INT32_MIN;
    engine.ForEachBand(a, [&](std::int16_t top, std::int16_t bottom, std::span<const std::int16_t> points) {
        if (top >= bottom || top < lastBottom || points.empty()) std::abort();
        lastBottom = bottom;
    });
    MutableWords inPlace(words.data() + 3, split);
    OffsetInPlace(inPlace, dh, dv);
    return 0;
}
