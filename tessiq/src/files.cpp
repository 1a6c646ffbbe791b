// The sorting, file, compression and port methods (c_).
#include "automation/errors.h"
#include "exports.h"
#include "marshal.h"
#include "members.h"
#include "tessiq/dispids.h"
#include "textfiles.h"

namespace tessiq {

using automation::Args;
using automation::Variant;

namespace {

// The strings 0..n-1 of a one-dimensional string array (raises 9 when they are not all there).
std::string *coveredStrings(automation::SafeArray &array, int64_t n) {
    if (array.type() != automation::ElemType::String) automation::raise(automation::err::TypeMismatch);
    if (array.dimensions() != 1 || !array.contains(0) || (n > 0 && !array.contains(int32_t(n - 1))) ||
        n > int64_t(array.ubound()) + 1)
        automation::raise(automation::err::SubscriptOutOfRange);
    return &array.str(0);
}

Variant sortStrings(Args &a) {
    int32_t count = a[1].toI4();
    int64_t n = count < 0 ? -int64_t(count) : count;
    automation::SafeArray &items = a[0].array();
    automation::SafeArray &index = a[2].array();
    if (n == 0) return Variant();
    std::string *texts = coveredStrings(items, n);
    int32_t *order = count > 0 ? covered<int32_t>(index, n) : nullptr;
    automation::ArrayLock li(items), lo(index);
    textfiles::sortStrings(texts, count, order);
    return Variant();
}

Variant writeText(Args &a) {
    int32_t rows = a[1].toI4(), cols = a[2].toI4();
    int64_t total = rows > 0 && cols > 0 ? int64_t(rows) * cols : 0;
    automation::SafeArray &vals = a[3].array();
    const float *v = touchedFloats(vals, total);
    automation::ArrayLock lock(vals);
    // Without any value to write there is no row either: a matrix of no values is an empty file
    // (2^31 rows of nothing would be gigabytes of empty lines).
    if (total == 0) rows = cols = 0;
    return Variant(int32_t(textfiles::writeMatrix(a[0].toString(), rows, cols, v, a[4].toI4()) ? 1 : 0));
}

Variant readTextInfo(Args &a) {
    textfiles::MatrixInfo info;
    if (!textfiles::readMatrixInfo(a[0].toString(), info)) return Variant(int32_t(0));
    a[1] = Variant(info.rows);
    a[2] = Variant(info.cols);
    return Variant(int32_t(1));
}

// c_ReadTXT: dBuffer must hold nRow x nCol values, checked before the file is opened.
Variant readText(Args &a) {
    int32_t rows = a[1].toI4(), cols = a[2].toI4();
    int64_t total = rows > 0 && cols > 0 ? int64_t(rows) * cols : 0;
    automation::SafeArray &buffer = a[3].array();
    float *b = touchedFloats(buffer, total);
    automation::ArrayLock lock(buffer);
    float min = 0, max = 0;
    if (!textfiles::readMatrix(a[0].toString(), total > 0 ? rows : 0, cols, b, min, max))
        return Variant(int32_t(0));
    a[4] = Variant(min);
    a[5] = Variant(max);
    return Variant(int32_t(1));
}

}  // namespace

void fileRows(Rows &rows) {
    namespace d = dispid;
    auto add = [&rows](automation::DispId id, Row row) { rows.push_back({id, std::move(row)}); };
    add(d::c_SortStrings, custom(sortStrings));
    add(d::c_SortBytes, forward(numora::QuickSortBytes, {array(0), value(1), array(2)}));
    add(d::c_SortIntegers, forward(sigmora::QuickSortShorts, {array(0), value(1), array(2)}));
    add(d::c_SortLongs, forward(sigmora::QuickSortLongs, {array(0), value(1), array(2)}));
    add(d::c_SortSingles, forward(sigmora::QuickSortFloats, {array(0), value(1), array(2)}));
    add(d::c_SortDoubles, forward(sigmora::QuickSortDoubles, {array(0), value(1), array(2)}));
    add(d::c_HufCompress, forward(numora::HufCmpFile, {text(0), text(1)}));
    add(d::c_HufExpand, forward(numora::HufExpFile, {text(0), text(1)}));
    add(d::c_Program,
        forward(numora::LinearProgram, {array(0), array(1), array(2), value(3), value(4), array(5)}));
    add(d::c_FindFileString, forward(numora::FindStringFile, {text(0), text(1), value(2)}));
    add(d::c_ReadMDT, forward(sigmora::xReadDat, {text(0), value(2), value(3), array(1)}));
    add(d::c_ReadMDTInfo, forward(sigmora::xReadDatInfo, {text(0), out(1), out(2), out(3), out(4), out(5)}));
    add(d::c_WriteMDT, forward(sigmora::xWriteDat, {array(0), value(1), value(2), value(3), value(4),
                                                    value(5), value(6), text(7)}));
    add(d::c_WriteTXT, custom(writeText));
    add(d::c_ReadTXT, custom(readText));
    add(d::c_ReadTXTInfo, custom(readTextInfo));
    add(d::c_InportX, forward(sigmora::InPortX, {value(0), value(1)}));
    add(d::c_OutportX, forward(sigmora::OutPortX, {value(0), value(1), value(2)}));
}

}  // namespace tessiq
