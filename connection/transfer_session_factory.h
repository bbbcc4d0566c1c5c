#pragma once
// The session that speaks a host text's protocol.

#include "transfer_address.h"

class QObject;

namespace corvexo {

class TransferSession;

// A new session for the scheme, owned by parent; nullptr when this build cannot speak it.
TransferSession *makeTransferSession(TransferScheme scheme, QObject *parent);

} // namespace corvexo
