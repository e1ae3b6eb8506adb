#pragma once

#include <QStringView>

// Word lists the synthetic clients are drawn from.
namespace vbench::pools {

inline constexpr QStringView femaleNames[] = {
    u"Maria",     u"Ana",     u"Francisca", u"Antônia", u"Adriana",  u"Juliana", u"Márcia",    u"Fernanda",
    u"Patrícia",  u"Aline",   u"Sandra",    u"Camila",  u"Amanda",   u"Bruna",   u"Jéssica",   u"Letícia",
    u"Júlia",     u"Luciana", u"Vanessa",   u"Mariana", u"Gabriela", u"Vitória", u"Cecília",   u"Lúcia",
    u"Ângela",    u"Beatriz", u"Glória",    u"Inês",    u"Mônica",   u"Sônia",   u"Fátima",    u"Élida",
    u"Úrsula",    u"Ísis",    u"Bárbara",   u"Débora",  u"Tânia",    u"Raquel",  u"Conceição", u"Helena",
    u"Rosângela", u"Graça",   u"Luíza",     u"Natália", u"Simone",   u"Priscila"};

inline constexpr QStringView maleNames[] = {
    u"João",     u"José",    u"Antônio",  u"Francisco", u"Carlos",    u"Paulo",    u"Pedro",   u"Lucas",
    u"Luiz",     u"Marcos",  u"Luís",     u"Gabriel",   u"Rafael",    u"Daniel",   u"Marcelo", u"Bruno",
    u"Eduardo",  u"Felipe",  u"Raimundo", u"Rodrigo",   u"Sérgio",    u"Fábio",    u"Márcio",  u"Cláudio",
    u"Vinícius", u"Otávio",  u"Caetano",  u"Thiago",    u"Sebastião", u"Benedito", u"Vítor",   u"André",
    u"Ícaro",    u"Átila",   u"Júlio",    u"César",     u"Renato",    u"Inácio",   u"Estêvão", u"Joaquim",
    u"Geraldo",  u"Aurélio", u"Severino", u"Mário",     u"Álvaro",    u"Heitor"};

inline constexpr QStringView surnames[] = {
    u"Silva",     u"Santos",    u"Oliveira",  u"Souza",   u"Rodrigues", u"Ferreira",  u"Alves",      u"Pereira",
    u"Lima",      u"Gomes",     u"Costa",     u"Ribeiro", u"Martins",   u"Carvalho",  u"Almeida",    u"Lopes",
    u"Soares",    u"Fernandes", u"Vieira",    u"Barbosa", u"Rocha",     u"Dias",      u"Nascimento", u"Andrade",
    u"Moreira",   u"Nunes",     u"Marques",   u"Machado", u"Mendes",    u"Freitas",   u"Cardoso",    u"Ramos",
    u"Gonçalves", u"Santana",   u"Teixeira",  u"Araújo",  u"Simões",    u"Magalhães", u"Falcão",     u"Brandão",
    u"Guimarães", u"Assunção",  u"Sá",        u"Antunes", u"Patrício",  u"Romão",     u"Loureiro",   u"Jesus",
    u"Calçada",   u"Paixão",    u"Conceição", u"Estevão", u"Bragança"};

inline constexpr QStringView particles[] = {u"da", u"de"};

inline constexpr QStringView companyKinds[] = {u"Padaria",
                                               u"Mercearia",
                                               u"Farmácia",
                                               u"Auto Peças",
                                               u"Construtora",
                                               u"Transportadora",
                                               u"Distribuidora",
                                               u"Comércio de Materiais",
                                               u"Clínica Odontológica",
                                               u"Escritório Contábil",
                                               u"Oficina Mecânica",
                                               u"Papelaria",
                                               u"Ótica",
                                               u"Açougue",
                                               u"Restaurante",
                                               u"Lanchonete",
                                               u"Confecções",
                                               u"Madeireira",
                                               u"Serralheria",
                                               u"Imobiliária",
                                               u"Laboratório",
                                               u"Informática",
                                               u"Pousada",
                                               u"Agropecuária"};

inline constexpr QStringView activities[] = {u"Comércio varejista de produtos de panificação",
                                             u"Comércio varejista de mercadorias em geral",
                                             u"Comércio varejista de produtos farmacêuticos",
                                             u"Comércio de peças e acessórios para veículos",
                                             u"Construção de edifícios",
                                             u"Transporte rodoviário de carga",
                                             u"Comércio atacadista de alimentos",
                                             u"Comércio varejista de materiais de construção",
                                             u"Atividade odontológica",
                                             u"Atividades de contabilidade",
                                             u"Manutenção e reparação de veículos automotores",
                                             u"Comércio varejista de artigos de papelaria",
                                             u"Comércio varejista de artigos de óptica",
                                             u"Comércio varejista de carnes - açougues",
                                             u"Restaurantes e similares",
                                             u"Lanchonetes e casas de chá",
                                             u"Confecção de peças do vestuário",
                                             u"Comércio varejista de madeira e artefatos",
                                             u"Fabricação de esquadrias de metal",
                                             u"Corretagem na compra e venda de imóveis",
                                             u"Laboratórios clínicos",
                                             u"Suporte técnico em tecnologia da informação",
                                             u"Hotéis e pousadas",
                                             u"Comércio de insumos agropecuários"};

inline constexpr QStringView companyCores[] = {
    u"São Jorge",   u"Boa Esperança", u"Estrela do Sul", u"Nossa Senhora Aparecida",
    u"Três Irmãos", u"Paraíso",       u"Ipê Amarelo",    u"Sabiá",
    u"Jequitibá",   u"Bom Jesus",     u"Santa Luzia",    u"Progresso",
    u"União",       u"Vale Verde",    u"Sol Nascente",   u"Primavera",
    u"Aliança",     u"Pão de Açúcar", u"Cristo Rei",     u"Beija-Flor",
    u"Guaraná",     u"Araucária",     u"Iguaçu",         u"Maracanã",
    u"Pirâmide",    u"Ébano",         u"Águia Dourada",  u"Âncora"};

inline constexpr QStringView companySuffixes[] = {u"Ltda", u"ME", u"EIRELI", u"S.A.", u"Ltda - EPP", u"Ltda"};

struct City
{
    QStringView name;
    QStringView uf;
    QStringView area;
};

inline constexpr City cities[] = {{u"São Paulo", u"SP", u"11"},
                                  {u"Rio de Janeiro", u"RJ", u"21"},
                                  {u"Belo Horizonte", u"MG", u"31"},
                                  {u"Salvador", u"BA", u"71"},
                                  {u"Fortaleza", u"CE", u"85"},
                                  {u"Curitiba", u"PR", u"41"},
                                  {u"Recife", u"PE", u"81"},
                                  {u"Porto Alegre", u"RS", u"51"},
                                  {u"Goiânia", u"GO", u"62"},
                                  {u"Belém", u"PA", u"91"},
                                  {u"São Luís", u"MA", u"98"},
                                  {u"Maceió", u"AL", u"82"},
                                  {u"Natal", u"RN", u"84"},
                                  {u"João Pessoa", u"PB", u"83"},
                                  {u"Teresina", u"PI", u"86"},
                                  {u"Florianópolis", u"SC", u"48"},
                                  {u"Vitória", u"ES", u"27"},
                                  {u"Cuiabá", u"MT", u"65"},
                                  {u"Campo Grande", u"MS", u"67"},
                                  {u"Manaus", u"AM", u"92"},
                                  {u"Aracaju", u"SE", u"79"},
                                  {u"Palmas", u"TO", u"63"},
                                  {u"Macapá", u"AP", u"96"},
                                  {u"Brasília", u"DF", u"61"},
                                  {u"Campinas", u"SP", u"19"},
                                  {u"Ribeirão Preto", u"SP", u"16"},
                                  {u"Uberlândia", u"MG", u"34"},
                                  {u"Londrina", u"PR", u"43"},
                                  {u"Joinville", u"SC", u"47"},
                                  {u"Niterói", u"RJ", u"21"},
                                  {u"Juiz de Fora", u"MG", u"32"},
                                  {u"Feira de Santana", u"BA", u"75"},
                                  {u"Caxias do Sul", u"RS", u"54"},
                                  {u"Maringá", u"PR", u"44"},
                                  {u"São José dos Campos", u"SP", u"12"},
                                  {u"Petrópolis", u"RJ", u"24"},
                                  {u"Ilhéus", u"BA", u"73"},
                                  {u"Mossoró", u"RN", u"84"}};

inline constexpr QStringView districts[] = {u"Centro",
                                            u"Jardim América",
                                            u"Vila Mariana",
                                            u"Boa Vista",
                                            u"Santa Cecília",
                                            u"São Cristóvão",
                                            u"Liberdade",
                                            u"Copacabana",
                                            u"Pituba",
                                            u"Aldeota",
                                            u"Batel",
                                            u"Boa Viagem",
                                            u"Moinhos de Vento",
                                            u"Setor Bueno",
                                            u"Jardim Paulista",
                                            u"Vila Nova",
                                            u"Cidade Alta",
                                            u"Parque São Jorge",
                                            u"Alto da Glória",
                                            u"Ipiranga",
                                            u"Jardim Botânico",
                                            u"Santa Efigênia",
                                            u"Conjunto Habitacional Júlio de Mesquita Filho"};

inline constexpr QStringView streetKinds[] = {u"Rua",      u"Rua",     u"Rua",   u"Avenida",
                                              u"Travessa", u"Alameda", u"Praça", u"Estrada"};

inline constexpr QStringView streets[] = {
    u"Sete de Setembro",    u"Quinze de Novembro", u"Tiradentes",      u"Marechal Deodoro da Fonseca",
    u"Barão do Rio Branco", u"Dom Pedro II",       u"Getúlio Vargas",  u"Santos Dumont",
    u"Castro Alves",        u"Olavo Bilac",        u"José de Alencar", u"Machado de Assis",
    u"das Acácias",         u"dos Ipês",           u"São João",        u"Presidente Juscelino Kubitschek de Oliveira",
    u"Visconde de Mauá",    u"Cândido Portinari",  u"Princesa Isabel", u"Duque de Caxias",
    u"Conselheiro Nébias",  u"Padre Anchieta",     u"Frei Caneca"};

inline constexpr QStringView complements[] = {u"Apto 101", u"Casa 2", u"Bloco B, Apto 304", u"Sala 1203",
                                              u"Fundos",   u"Loja 3", u"Conjunto 45",       u"Térreo"};

inline constexpr QStringView schooling[] = {
    u"Fundamental",         u"Médio",         u"Médio incompleto", u"Superior",
    u"Superior incompleto", u"Pós-graduação", u"Mestrado",         u"Doutorado"};

inline constexpr QStringView professions[] = {u"Professora",
                                              u"Engenheiro Civil",
                                              u"Comerciante",
                                              u"Médico",
                                              u"Advogada",
                                              u"Motorista",
                                              u"Contador",
                                              u"Enfermeira",
                                              u"Aposentado",
                                              u"Autônomo",
                                              u"Técnico em Eletrônica",
                                              u"Agricultor",
                                              u"Cabeleireira",
                                              u"Analista de Sistemas",
                                              u"Vendedor",
                                              u"Funcionário Público",
                                              u"Farmacêutica",
                                              u"Pedreiro"};

inline constexpr QStringView employment[] = {
    u"Carteira Assinada (CLT)", u"Autônomo", u"Servidor Público", u"Empresário", u"Aposentado", u"Estagiário",
    u"Profissional Liberal"};

inline constexpr QStringView issuers[] = {u"SSP", u"SSP", u"DETRAN", u"PC", u"IFP", u"SESP", u"SDS"};

inline constexpr QStringView departments[] = {u"Financeiro",        u"Compras",        u"Diretoria",
                                              u"Recursos Humanos",  u"Administrativo", u"Contas a Pagar",
                                              u"Gerência Comercial"};

inline constexpr QStringView mailHosts[] = {u"gmail.com",  u"hotmail.com",  u"yahoo.com.br", u"uol.com.br",
                                            u"bol.com.br", u"terra.com.br", u"outlook.com"};

inline constexpr QStringView remarks[] = {
    u"Cliente pontual nos pagamentos.",
    u"Prefere contato por telefone no período da manhã.",
    u"Solicitou revisão do limite de crédito em março; aguardando análise da gerência.",
    u"Atendimento preferencial: não ligar após às 18h.",
    u"Endereço de entrega difere do endereço de cobrança; confirmar antes de enviar mercadorias.",
    u"Indicação de José Araújo, cliente desde 2010.",
    u"Possui pendência de documentação (comprovante de residência atualizado).",
    u"Enviar boletos por e-mail; não aceita correspondência física.",
    u"Cadastro atualizado após visita técnica à sede.",
    u"Preferir contato por mensagem: cliente com deficiência auditiva.",
    u"Negociação de dívida concluída em 12 parcelas, sem juros.",
    u"Não autorizar compras a prazo acima de R$ 5.000,00 sem consulta ao SPC/Serasa.",
    u"Sócio-gerente também responde pela filial de Ribeirão Preto.",
    u"Pediu para não receber ligações de telemarketing.",
    u"Retirar a mercadoria somente com autorização por escrito do responsável."};

} // namespace vbench::pools
