#include "platform/TcpSocket.h"

TcpSocket::~TcpSocket() = default;
