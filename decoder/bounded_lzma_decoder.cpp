#include "bounded_lzma_decoder.h"

#include <algorithm>
#include <cstring>

#include "7zip/Common/RegisterCodec.h"
#include "7zip/Compress/LzmaDecoder.h"
#include "sevenzip_glue.h"

namespace maglorin::decoder {

std::optional<std::uint32_t> BoundedDictionary(std::uint32_t named, std::optional<std::uint64_t> unpackSize) {
    std::uint64_t dictionary = named;
    if (unpackSize) {
        const std::uint64_t granules = *unpackSize / kDictionaryGranule + (*unpackSize % kDictionaryGranule != 0);
        dictionary = std::min(dictionary, std::max<std::uint64_t>(granules, 1) * kDictionaryGranule);
    }
    if (dictionary > kMaxLzmaDictionary) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(dictionary);
}

namespace {

// Holds the properties until Code tells the unpack size, then sets the bounded ones on 7-Zip's
// decoder. Lives as long as the 7-Zip folder decoder keeps it.
class BoundedLzmaDecoder final :
    public ICompressCoder,
    public ICompressSetDecoderProperties2,
    public ICompressSetFinishMode,
    public ICompressGetInStreamProcessedSize,
    public CMyUnknownImp {
    Z7_COM_QI_BEGIN2(ICompressCoder)
    Z7_COM_QI_ENTRY(ICompressSetDecoderProperties2)
    Z7_COM_QI_ENTRY(ICompressSetFinishMode)
    Z7_COM_QI_ENTRY(ICompressGetInStreamProcessedSize)
    Z7_COM_QI_END
    Z7_COM_ADDREF_RELEASE

    Z7_IFACE_COM7_IMP(ICompressCoder)
    Z7_IFACE_COM7_IMP(ICompressSetDecoderProperties2)
    Z7_IFACE_COM7_IMP(ICompressSetFinishMode)
    Z7_IFACE_COM7_IMP(ICompressGetInStreamProcessedSize)

public:
    BoundedLzmaDecoder() : decoder_(new NCompress::NLzma::CDecoder) {}

private:
    CMyComPtr<ICompressCoder> decoder_;
    Byte properties_[kLzmaPropertyBytes] = {};
    bool propertiesSet_ = false;
};

Z7_COM7F_IMF(BoundedLzmaDecoder::SetDecoderProperties2(const Byte* data, UInt32 size)) {
    // lc, lp and pb in one byte: 9 * 5 * 5 combinations.
    if (size < kLzmaPropertyBytes || data[0] >= 9 * 5 * 5) {
        return E_NOTIMPL;
    }
    std::memcpy(properties_, data, kLzmaPropertyBytes);
    propertiesSet_ = true;
    return S_OK;
}

Z7_COM7F_IMF(BoundedLzmaDecoder::SetFinishMode(UInt32 finishMode)) {
    CMyComPtr<ICompressSetFinishMode> target;
    decoder_.QueryInterface(IID_ICompressSetFinishMode, &target);
    return target ? target->SetFinishMode(finishMode) : E_NOTIMPL;
}

Z7_COM7F_IMF(BoundedLzmaDecoder::GetInStreamProcessedSize(UInt64* value)) {
    CMyComPtr<ICompressGetInStreamProcessedSize> target;
    decoder_.QueryInterface(IID_ICompressGetInStreamProcessedSize, &target);
    return target ? target->GetInStreamProcessedSize(value) : E_NOTIMPL;
}

Z7_COM7F_IMF(BoundedLzmaDecoder::Code(ISequentialInStream* inStream, ISequentialOutStream* outStream,
                                      const UInt64* inSize, const UInt64* outSize, ICompressProgressInfo* progress)) {
    if (!propertiesSet_) {
        return E_NOTIMPL;
    }
    const std::uint32_t named = static_cast<std::uint32_t>(properties_[1]) | (static_cast<std::uint32_t>(properties_[2]) << 8) |
                                (static_cast<std::uint32_t>(properties_[3]) << 16) |
                                (static_cast<std::uint32_t>(properties_[4]) << 24);
    const std::optional<std::uint32_t> dictionary =
        BoundedDictionary(named, outSize != nullptr ? std::optional<std::uint64_t>(*outSize) : std::nullopt);
    if (!dictionary) {
        return S_FALSE;  // damaged data: refused before anything is reserved
    }
    Byte bounded[kLzmaPropertyBytes] = {properties_[0], static_cast<Byte>(*dictionary), static_cast<Byte>(*dictionary >> 8),
                                        static_cast<Byte>(*dictionary >> 16), static_cast<Byte>(*dictionary >> 24)};
    CMyComPtr<ICompressSetDecoderProperties2> setProperties;
    decoder_.QueryInterface(IID_ICompressSetDecoderProperties2, &setProperties);
    if (!setProperties) {
        return E_NOTIMPL;
    }
    RINOK(setProperties->SetDecoderProperties2(bounded, kLzmaPropertyBytes))
    return decoder_->Code(inStream, outStream, inSize, outSize, progress);
}

void* CreateBoundedLzmaDecoder() {
    return static_cast<ICompressCoder*>(new BoundedLzmaDecoder);
}

const CCodecInfo kBoundedLzma = {CreateBoundedLzmaDecoder, nullptr, 0x30101, "LZMA", 1, false};

}  // namespace

void RegisterBoundedLzmaDecoder() {
    static const bool registered = (RegisterCodec(&kBoundedLzma), true);
    (void)registered;
}

}  // namespace maglorin::decoder
