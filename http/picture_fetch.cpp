#include "http/picture_fetch.h"

#include "http/transfer.h"

namespace smsdock {

Bytes FetchPictureBytes(const Text& url) {
    return FetchPictureBytes(url, ProcessTransferLimits());
}

Bytes FetchPictureBytes(const Text& url, const TransferLimits& limits) {
    TransferRequest transfer;
    transfer.url = url.str();
    transfer.http10 = true;
    transfer.userAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
    transfer.headerLines = {"Accept: */*"};
    transfer.limits = limits;

    TransferResult result = PerformTransfer(transfer);
    if (result.status != TransferResult::Status::kCompleted) return {};
    return std::move(result.body);
}

}  // namespace smsdock
