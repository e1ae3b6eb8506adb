// Fills a program folder's database with synthetic clients, for trying
// vosmira-report by hand: seed_clients FOLDER COUNT
#include "SyntheticClients.h"
#include "UDMbanco.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: seed_clients FOLDER COUNT\n");
        return 2;
    }
    try {
        TDMbanco data(QString::fromLocal8Bit(argv[1]));
        data.connectSequence();
        const int count = QByteArray(argv[2]).toInt();
        rtest::storeClients(*data.CDSCliente, *rtest::makeClients(count, rtest::Kind::Fisica));
        rtest::storeClients(*data.CDSCliente, *rtest::makeClients(count / 2, rtest::Kind::Juridica));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
