#pragma once

#include <QDate>
#include <QLatin1StringView>
#include <QString>

#include <array>

// The 45 columns of a client row, in table order. The list macro lets the data
// module declare one field member per column without spelling them twice.
// clang-format off
#define VOSMIRA_CLIENT_COLUMNS(X) \
    X(CODIGO_C) \
    X(NOME) \
    X(CPF) \
    X(RG) \
    X(EMISSOR) \
    X(UF_ID) \
    X(NACIMENTO) \
    X(SEXO) \
    X(ESCOLARIDADE) \
    X(PROFISSAO) \
    X(VINCULO) \
    X(CNPJ) \
    X(IE) \
    X(IM) \
    X(FUNDACAO) \
    X(NOME_FANTASIA) \
    X(ATIVIDADE) \
    X(CONTATO) \
    X(SETOR) \
    X(TELEFONE1) \
    X(TELEFONE2) \
    X(TELEFONE3) \
    X(RAMAL1) \
    X(RAMAL2) \
    X(RAMAL3) \
    X(EMAIL) \
    X(SITE) \
    X(LOGRADOURO) \
    X(N) \
    X(COMPLEMENTO) \
    X(BAIRRO) \
    X(CIDADE) \
    X(UF) \
    X(CEP) \
    X(CRED_STATUS) \
    X(CRED_CONSULTA) \
    X(CRED_DESDE) \
    X(CRED_REF1) \
    X(CRED_TEL1) \
    X(CRED_REF2) \
    X(CRED_TEL2) \
    X(CRED_REF3) \
    X(CRED_TEL3) \
    X(OBS) \
    X(TIPO)
// clang-format on

namespace ClientRecord {

enum class Kind { Integer, Text, Date };

struct Column
{
    QLatin1StringView name;
    Kind kind;
    int length;             // characters, text columns only
    QLatin1StringView mask; // edit mask in the clients dataset, empty when none
    bool maskInSelection;   // whether the selection dataset's field carries it too
};

inline constexpr int ColumnCount = 45;
inline constexpr int TextCount = 40;
inline constexpr int DateCount = 4;

// Column numbers (0-based) of the columns code refers to by meaning.
enum ColumnIndex {
#define VOSMIRA_COLUMN_ENUM(name) col_##name,
    VOSMIRA_CLIENT_COLUMNS(VOSMIRA_COLUMN_ENUM)
#undef VOSMIRA_COLUMN_ENUM
        col_Count
};
static_assert(col_Count == ColumnCount);

inline constexpr QLatin1StringView CpfMask{"000.000.000-00;0;_"};
inline constexpr QLatin1StringView CnpjMask{"99.999.999/9999-99;1;_"};
// Area code and number: 10 digits, or 11 for a mobile number (nine-digit numbers
// since 2016), whose hyphen moves one place on.
inline constexpr QLatin1StringView PhoneMask{"!\\(00\\)0000-0000|\\(00\\)00000-0000;0;_"};
inline constexpr QLatin1StringView CepMask{"00000-000;0;_"};

const std::array<Column, ColumnCount> &columns();
inline const Column &column(int index)
{
    return columns()[std::size_t(index)];
}

// Index of a column by name (case-insensitive, as the database treats names), -1 if unknown.
int indexOf(QStringView name);

// Position of a text column among the text columns, or of a date column among the
// dates; -1 for a column of the other kind.
int textSlot(int column);
int dateSlot(int column);

// The two person kinds as the TIPO column holds them.
QString pessoaFisica();
QString pessoaJuridica();

// Day zero of the date scale, which the client windows store for an empty date edit.
inline QDate zeroDate()
{
    return QDate(1899, 12, 30);
}

// Kind filter expression for a person kind: TIPO = 'kind'.
QString kindFilter(const QString &kind);

} // namespace ClientRecord
