#include "PortListener.h"

#include "ClientConnection.h"

#include <QTcpSocket>

#include <algorithm>
#include <utility>

PortListener::PortListener(QString service, quint16 port, const QHostAddress& address, QObject* parent)
    : QTcpServer(parent), ServiceName(std::move(service)), Address(address), ListenPort(port),
      ReadAheadBytes(ClientConnection::ReadAhead)
{
}

QHostAddress PortListener::AddressFor(const QString& setting)
{
    const QString text = setting.trimmed().toLower();
    if (text == QLatin1String("any"))
        return QHostAddress(QHostAddress::Any);
    const QHostAddress literal(text);
    return literal.isNull() ? QHostAddress(QHostAddress::LocalHost) : literal;
}

void PortListener::SetAddress(const QHostAddress& address, quint16 port)
{
    Address = address;
    ListenPort = port;
}

void PortListener::SetMaxClients(int count)
{
    ClientsAllowed = std::clamp(count, 1, ClientLimit);
}

void PortListener::Listen()
{
    if (isListening())
        return;
    QString problem;
    if (listen(Address, ListenPort)) {
        ListenPort = serverPort();
    } else if (serverError() == QAbstractSocket::AddressInUseError) {
        problem = QStringLiteral("%1 port %2 is in use by another program; trying again")
                      .arg(ServiceName).arg(ListenPort);
    } else {
        problem = QStringLiteral("%1 port %2 cannot listen on %3: %4; trying again")
                      .arg(ServiceName).arg(ListenPort).arg(Address.toString(), errorString());
    }
    if (problem == Obstacle)
        return;
    Obstacle = problem;
    emit ProblemChanged(Obstacle);
}

void PortListener::incomingConnection(qintptr descriptor)
{
    auto* socket = new QTcpSocket(this);
    socket->setReadBufferSize(ReadAheadBytes);
    socket->setSocketDescriptor(descriptor);
    emit Accepted(socket);
    addPendingConnection(socket);
}
