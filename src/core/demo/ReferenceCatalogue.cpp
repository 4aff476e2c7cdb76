#include "demo/ReferenceCatalogue.h"

#include <QHash>
#include <QSet>

#include <utility>

namespace orven::demo {

namespace {

using packet::DataPacket;
using packet::Field;
using packet::Row;
using packet::Table;

struct AccountDef {
    const char *code;
    const char *name;
};

// ---------------------------------------------------------------------------
// Account lists of the court chart. Codes in chart order; the ids follow the
// court's numbering (consecutive within a list unless stated).

const AccountDef kCurrentRevenue[] = {
    {"1.0.00.00.00", "Receitas Correntes"},
    {"1.1.00.00.00", "Receita Tributária"},
    {"1.1.10.00.00", "Impostos"},
    {"1.1.12.00.00", "Impostos sobre o Patrimônio e a Renda"},
    {"1.1.12.02.00", "Imposto sobre a Propriedade Predial e Territorial Urbana - IPTU"},
    {"1.1.12.04.00", "Imposto sobre a Renda e Proventos de Qualquer Natureza"},
    {"1.1.12.04.31", "Imposto de Renda Retido nas Fontes sobre os Rendimentos do Trabalho"},
    {"1.1.12.04.34", "Imposto de Renda Retido nas Fontes sobre Outros Rendimentos"},
    {"1.1.12.08.00", "Imposto sobre a Transmissão Inter Vivos de Bens Imóveis - ITBI"},
    {"1.1.13.00.00", "Impostos sobre a Produção e a Circulação"},
    {"1.1.13.05.00", "Imposto sobre Serviços de Qualquer Natureza - ISSQN"},
    {"1.1.20.00.00", "Taxas"},
    {"1.1.21.00.00", "Taxas pelo Exercício do Poder de Polícia"},
    {"1.1.21.25.00", "Taxa de Fiscalização de Localização e Funcionamento"},
    {"1.1.21.29.00", "Taxa de Licença para Execução de Obras"},
    {"1.1.21.99.00", "Outras Taxas pelo Exercício do Poder de Polícia"},
    {"1.1.22.00.00", "Taxas pela Prestação de Serviços"},
    {"1.1.22.10.00", "Taxa de Coleta de Lixo"},
    {"1.1.22.20.00", "Taxa de Iluminação Pública"},
    {"1.1.22.90.00", "Outras Taxas pela Prestação de Serviços"},
    {"1.1.30.00.00", "Contribuição de Melhoria"},
    {"1.1.30.10.00", "Contribuição de Melhoria para Pavimentação e Obras Complementares"},
    {"1.1.30.90.00", "Outras Contribuições de Melhoria"},
    {"1.2.00.00.00", "Receita de Contribuições"},
    {"1.2.10.00.00", "Contribuições Sociais"},
    {"1.2.10.29.00", "Contribuição para o Regime Próprio de Previdência do Servidor Público"},
    {"1.2.10.29.01", "Contribuição Patronal de Servidor Ativo Civil para o Regime Próprio"},
    {"1.2.10.29.07", "Contribuição de Servidor Ativo Civil para o Regime Próprio"},
    {"1.2.10.29.09", "Contribuição de Servidor Inativo Civil para o Regime Próprio"},
    {"1.2.10.29.11", "Contribuição de Pensionista Civil para o Regime Próprio"},
    {"1.2.10.46.00", "Compensações Financeiras entre o Regime Geral e os Regimes Próprios"},
    {"1.2.10.99.00", "Outras Contribuições Sociais"},
    {"1.2.20.00.00", "Contribuições Econômicas"},
    {"1.2.30.00.00", "Contribuição para o Custeio do Serviço de Iluminação Pública"},
    {"1.3.00.00.00", "Receita Patrimonial"},
    {"1.3.10.00.00", "Receitas Imobiliárias"},
    {"1.3.11.00.00", "Aluguéis"},
    {"1.3.12.00.00", "Arrendamentos"},
    {"1.3.13.00.00", "Foros"},
    {"1.3.14.00.00", "Laudêmios"},
    {"1.3.15.00.00", "Taxa de Ocupação de Imóveis"},
    {"1.3.19.00.00", "Outras Receitas Imobiliárias"},
    {"1.3.20.00.00", "Receitas de Valores Mobiliários"},
    {"1.3.21.00.00", "Juros de Títulos de Renda"},
    {"1.3.22.00.00", "Dividendos"},
    {"1.3.25.00.00", "Remuneração de Depósitos Bancários"},
    {"1.3.25.01.00", "Remuneração de Depósitos de Recursos Vinculados"},
    {"1.3.25.02.00", "Remuneração de Depósitos de Recursos Não Vinculados"},
    {"1.3.28.00.00", "Remuneração dos Investimentos do Regime Próprio de Previdência"},
    {"1.3.29.00.00", "Outras Receitas de Valores Mobiliários"},
    {"1.3.30.00.00", "Receita de Concessões e Permissões"},
    {"1.3.90.00.00", "Outras Receitas Patrimoniais"},
    {"1.4.00.00.00", "Receita Agropecuária"},
    {"1.4.10.00.00", "Receita da Produção Vegetal"},
    {"1.4.20.00.00", "Receita da Produção Animal e Derivados"},
    {"1.4.90.00.00", "Outras Receitas Agropecuárias"},
    {"1.5.00.00.00", "Receita Industrial"},
    {"1.5.20.00.00", "Receita da Indústria de Transformação"},
    {"1.5.90.00.00", "Outras Receitas Industriais"},
    {"1.6.00.00.00", "Receita de Serviços"},
    {"1.6.00.01.00", "Serviços Comerciais"},
    {"1.6.00.02.00", "Serviços Financeiros"},
    {"1.6.00.05.00", "Serviços Hospitalares"},
    {"1.6.00.13.00", "Serviços Administrativos"},
    {"1.6.00.16.00", "Serviços Educacionais"},
    {"1.6.00.19.00", "Serviços de Transporte"},
    {"1.6.00.40.00", "Serviços de Saneamento"},
    {"1.6.00.45.00", "Serviços Funerários e de Cemitério"},
    {"1.6.00.99.00", "Outros Serviços"},
    {"1.7.00.00.00", "Transferências Correntes"},
    {"1.7.20.00.00", "Transferências Intergovernamentais"},
    {"1.7.21.00.00", "Transferências da União"},
    {"1.7.21.01.00", "Participação na Receita da União"},
    {"1.7.21.01.02", "Cota-Parte do Fundo de Participação dos Municípios"},
    {"1.7.21.01.05", "Cota-Parte do Imposto sobre a Propriedade Territorial Rural"},
    {"1.7.21.22.00", "Transferência da Compensação Financeira pela Exploração de Recursos Naturais"},
    {"1.7.21.22.11", "Cota-Parte da Compensação Financeira de Recursos Hídricos"},
    {"1.7.21.22.20", "Cota-Parte da Compensação Financeira de Recursos Minerais - CFEM"},
    {"1.7.21.22.70", "Cota-Parte do Fundo Especial do Petróleo - FEP"},
    {"1.7.21.33.00", "Transferências de Recursos do Sistema Único de Saúde - SUS"},
    {"1.7.21.33.10", "Transferências do SUS - Atenção Básica"},
    {"1.7.21.33.20", "Transferências do SUS - Atenção de Média e Alta Complexidade"},
    {"1.7.21.33.30", "Transferências do SUS - Vigilância em Saúde"},
    {"1.7.21.33.40", "Transferências do SUS - Assistência Farmacêutica"},
    {"1.7.21.33.99", "Outras Transferências do Sistema Único de Saúde - SUS"},
    {"1.7.21.34.00", "Transferências de Recursos do Fundo Nacional de Assistência Social - FNAS"},
    {"1.7.21.35.00", "Transferências de Recursos do Fundo Nacional do Desenvolvimento da Educação - FNDE"},
    {"1.7.21.35.01", "Transferência do Salário-Educação"},
    {"1.7.21.35.02", "Transferências Diretas do FNDE - Programa Dinheiro Direto na Escola"},
    {"1.7.21.35.03", "Transferências Diretas do FNDE - Programa Nacional de Alimentação Escolar"},
    {"1.7.21.35.04", "Transferências Diretas do FNDE - Programa Nacional de Apoio ao Transporte Escolar"},
    {"1.7.21.35.99", "Outras Transferências Diretas do FNDE"},
    {"1.7.21.36.00", "Transferência Financeira do ICMS - Desoneração - L.C. nº 87/96"},
    {"1.7.21.99.00", "Outras Transferências da União"},
    {"1.7.22.00.00", "Transferências dos Estados"},
    {"1.7.22.01.00", "Participação na Receita dos Estados"},
    {"1.7.22.01.01", "Cota-Parte do ICMS"},
    {"1.7.22.01.02", "Cota-Parte do IPVA"},
    {"1.7.22.01.04", "Cota-Parte do IPI sobre Exportação"},
    {"1.7.22.01.13", "Cota-Parte da Contribuição de Intervenção no Domínio Econômico - CIDE"},
    {"1.7.22.22.00", "Cota-Parte da Compensação Financeira dos Estados"},
    {"1.7.22.33.00", "Transferências de Recursos do Estado para Programas de Saúde - Repasse Fundo a Fundo"},
    {"1.7.22.99.00", "Outras Transferências dos Estados"},
    {"1.7.23.00.00", "Transferências dos Municípios"},
    {"1.7.24.00.00", "Transferências Multigovernamentais"},
    {"1.7.24.01.00", "Transferências de Recursos do FUNDEB"},
    {"1.7.24.02.00", "Transferências de Recursos da Complementação da União ao FUNDEB"},
    {"1.7.30.00.00", "Transferências de Instituições Privadas"},
    {"1.7.40.00.00", "Transferências do Exterior"},
    {"1.7.50.00.00", "Transferências de Pessoas"},
    {"1.7.60.00.00", "Transferências de Convênios"},
    {"1.7.61.00.00", "Transferências de Convênios da União e de suas Entidades"},
    {"1.7.61.01.00", "Transferências de Convênios da União para o Sistema Único de Saúde - SUS"},
    {"1.7.61.02.00", "Transferências de Convênios da União destinadas a Programas de Educação"},
    {"1.7.61.99.00", "Outras Transferências de Convênios da União"},
    {"1.7.62.00.00", "Transferências de Convênios dos Estados e de suas Entidades"},
    {"1.7.62.01.00", "Transferências de Convênios dos Estados para o Sistema Único de Saúde - SUS"},
    {"1.7.62.02.00", "Transferências de Convênios dos Estados destinadas a Programas de Educação"},
    {"1.7.62.99.00", "Outras Transferências de Convênios dos Estados"},
    {"1.7.63.00.00", "Transferências de Convênios dos Municípios e de suas Entidades"},
    {"1.7.63.01.00", "Transferências de Convênios dos Municípios para o Sistema Único de Saúde - SUS"},
    {"1.7.64.00.00", "Transferências de Convênios de Instituições Privadas"},
    {"1.9.00.00.00", "Outras Receitas Correntes"},
    {"1.9.10.00.00", "Multas e Juros de Mora"},
    {"1.9.11.00.00", "Multas e Juros de Mora dos Tributos"},
    {"1.9.11.38.00", "Multas e Juros de Mora do Imposto sobre a Propriedade Predial e Territorial Urbana - IPTU"},
    {"1.9.11.39.00", "Multas e Juros de Mora do Imposto sobre a Transmissão Inter Vivos de Bens Imóveis - ITBI"},
    {"1.9.11.40.00", "Multas e Juros de Mora do Imposto sobre Serviços de Qualquer Natureza - ISSQN"},
    {"1.9.11.99.00", "Multas e Juros de Mora de Outros Tributos"},
    {"1.9.13.00.00", "Multas e Juros de Mora da Dívida Ativa dos Tributos"},
    {"1.9.13.11.00", "Multas e Juros de Mora da Dívida Ativa do IPTU"},
    {"1.9.13.12.00", "Multas e Juros de Mora da Dívida Ativa do ITBI"},
    {"1.9.13.13.00", "Multas e Juros de Mora da Dívida Ativa do ISSQN"},
    {"1.9.19.00.00", "Multas e Juros de Mora de Outras Receitas"},
    {"1.9.20.00.00", "Indenizações e Restituições"},
    {"1.9.21.00.00", "Indenizações"},
    {"1.9.22.00.00", "Restituições"},
    {"1.9.22.99.00", "Outras Restituições"},
    {"1.9.30.00.00", "Receita da Dívida Ativa"},
    {"1.9.31.00.00", "Receita da Dívida Ativa Tributária"},
    {"1.9.31.11.00", "Receita da Dívida Ativa do IPTU"},
    {"1.9.31.12.00", "Receita da Dívida Ativa do ITBI"},
    {"1.9.31.13.00", "Receita da Dívida Ativa do ISSQN"},
    {"1.9.31.99.00", "Receita da Dívida Ativa de Outros Tributos"},
    {"1.9.32.00.00", "Receita da Dívida Ativa Não Tributária"},
    {"1.9.32.99.00", "Receita da Dívida Ativa Não Tributária de Outras Receitas"},
    {"1.9.90.00.00", "Receitas Diversas"},
    {"1.9.90.99.00", "Outras Receitas"},
};

const AccountDef kCapitalRevenue[] = {
    {"2.0.00.00.00", "Receitas de Capital"},
    {"2.1.00.00.00", "Operações de Crédito"},
    {"2.1.10.00.00", "Operações de Crédito Internas"},
    {"2.1.11.00.00", "Operações de Crédito Internas - Títulos de Responsabilidade do Tesouro Municipal"},
    {"2.1.11.01.00", "Títulos da Dívida Mobiliária Municipal"},
    {"2.1.14.00.00", "Operações de Crédito Internas - Contratuais"},
    {"2.1.14.01.00", "Operações de Crédito Internas - Programas de Educação"},
    {"2.1.14.02.00", "Operações de Crédito Internas - Programas de Saúde"},
    {"2.1.14.03.00", "Operações de Crédito Internas - Programas de Saneamento"},
    {"2.1.14.04.00", "Operações de Crédito Internas - Programas de Habitação"},
    {"2.1.14.05.00", "Operações de Crédito Internas - Programas de Infraestrutura Urbana"},
    {"2.1.14.99.00", "Outras Operações de Crédito Internas Contratuais"},
    {"2.1.15.00.00", "Para Refinanciamento da Dívida Mobiliária"},
    {"2.1.16.00.00", "Para Refinanciamento de Outras Dívidas"},
    {"2.1.19.00.00", "Outras Operações de Crédito Internas"},
    {"2.1.20.00.00", "Operações de Crédito Externas"},
    {"2.1.21.00.00", "Operações de Crédito Externas - Títulos de Responsabilidade do Tesouro Municipal"},
    {"2.1.23.00.00", "Operações de Crédito Externas - Contratuais"},
    {"2.1.23.01.00", "Operações de Crédito Externas - Programas de Educação"},
    {"2.1.23.02.00", "Operações de Crédito Externas - Programas de Saúde"},
    {"2.1.23.99.00", "Outras Operações de Crédito Externas Contratuais"},
    {"2.1.29.00.00", "Outras Operações de Crédito Externas"},
    {"2.2.00.00.00", "Alienação de Bens"},
    {"2.2.10.00.00", "Alienação de Bens Móveis"},
    {"2.2.11.00.00", "Alienação de Títulos Mobiliários"},
    {"2.2.13.00.00", "Alienação de Veículos"},
    {"2.2.19.00.00", "Alienação de Outros Bens Móveis"},
    {"2.2.20.00.00", "Alienação de Bens Imóveis"},
    {"2.2.21.00.00", "Alienação de Imóveis Urbanos"},
    {"2.2.22.00.00", "Alienação de Imóveis Rurais"},
    {"2.3.00.00.00", "Amortização de Empréstimos"},
    {"2.3.10.00.00", "Amortização de Empréstimos Concedidos"},
    {"2.4.00.00.00", "Transferências de Capital"},
    {"2.4.20.00.00", "Transferências Intergovernamentais"},
    {"2.4.21.00.00", "Transferências da União"},
    {"2.4.21.01.00", "Transferências de Recursos do Sistema Único de Saúde - SUS"},
    {"2.4.21.02.00", "Transferências de Recursos Destinados a Programas de Educação"},
    {"2.4.21.99.00", "Outras Transferências da União"},
    {"2.4.22.00.00", "Transferências dos Estados"},
    {"2.4.22.01.00", "Transferências de Recursos do Estado para Programas de Saúde"},
    {"2.4.22.99.00", "Outras Transferências dos Estados"},
    {"2.4.23.00.00", "Transferências dos Municípios"},
    {"2.4.30.00.00", "Transferências de Instituições Privadas"},
    {"2.4.40.00.00", "Transferências do Exterior"},
    {"2.4.50.00.00", "Transferências de Pessoas"},
    {"2.4.70.00.00", "Transferências de Convênios"},
    {"2.4.71.00.00", "Transferências de Convênios da União e de suas Entidades"},
    {"2.4.71.01.00", "Transferências de Convênios da União para o Sistema Único de Saúde - SUS"},
    {"2.4.71.02.00", "Transferências de Convênios da União destinadas a Programas de Educação"},
    {"2.4.71.03.00", "Transferências de Convênios da União destinadas a Programas de Saneamento Básico"},
    {"2.4.71.04.00", "Transferências de Convênios da União destinadas a Programas de Habitação"},
    {"2.4.71.99.00", "Outras Transferências de Convênios da União"},
    {"2.4.72.00.00", "Transferências de Convênios dos Estados e de suas Entidades"},
    {"2.4.72.01.00", "Transferências de Convênios dos Estados para o Sistema Único de Saúde - SUS"},
    {"2.4.72.02.00", "Transferências de Convênios dos Estados destinadas a Programas de Educação"},
    {"2.4.72.99.00", "Outras Transferências de Convênios dos Estados"},
    {"2.4.73.00.00", "Transferências de Convênios dos Municípios"},
    {"2.4.74.00.00", "Transferências de Convênios de Instituições Privadas"},
    {"2.5.00.00.00", "Outras Receitas de Capital"},
    {"2.5.20.00.00", "Integralização do Capital Social"},
    {"2.5.50.00.00", "Receita de Dívida Ativa Proveniente de Amortização de Empréstimos e Financiamentos"},
    {"2.5.90.00.00", "Outras Receitas de Capital Diversas"},
};

const AccountDef kCurrentExpense[] = {
    {"3.1.20.13.00", "Obrigações Patronais"},
    {"3.1.71.70.00", "Rateio pela Participação em Consórcio Público"},
    {"3.1.90.01.00", "Aposentadorias e Reformas"},
    {"3.1.90.03.00", "Pensões"},
    {"3.1.90.04.00", "Contratação por Tempo Determinado"},
    {"3.1.90.05.00", "Outros Benefícios Previdenciários"},
    {"3.1.90.07.00", "Contribuição a Entidades Fechadas de Previdência"},
    {"3.1.90.09.00", "Salário-Família"},
    {"3.1.90.11.00", "Vencimentos e Vantagens Fixas - Pessoal Civil"},
    {"3.1.90.13.00", "Obrigações Patronais"},
    {"3.1.90.16.00", "Outras Despesas Variáveis - Pessoal Civil"},
    {"3.1.90.34.00", "Outras Despesas de Pessoal Decorrentes de Contratos de Terceirização"},
    {"3.1.90.67.00", "Depósitos Compulsórios"},
    {"3.1.90.91.00", "Sentenças Judiciais"},
    {"3.1.90.92.00", "Despesas de Exercícios Anteriores"},
    {"3.1.90.94.00", "Indenizações e Restituições Trabalhistas"},
    {"3.1.90.96.00", "Ressarcimento de Despesas de Pessoal Requisitado"},
    {"3.2.90.21.00", "Juros sobre a Dívida por Contrato"},
    {"3.2.90.22.00", "Outros Encargos sobre a Dívida por Contrato"},
    {"3.2.90.23.00", "Juros, Deságios e Descontos da Dívida Mobiliária"},
    {"3.2.90.24.00", "Outros Encargos sobre a Dívida Mobiliária"},
    {"3.2.90.25.00", "Encargos sobre Operações de Crédito por Antecipação da Receita"},
    {"3.2.90.92.00", "Despesas de Exercícios Anteriores"},
    {"3.3.20.41.00", "Contribuições"},
    {"3.3.30.41.00", "Contribuições"},
    {"3.3.40.41.00", "Contribuições"},
    {"3.3.50.41.00", "Contribuições"},
    {"3.3.50.43.00", "Subvenções Sociais"},
    {"3.3.60.45.00", "Subvenções Econômicas"},
    {"3.3.71.70.00", "Rateio pela Participação em Consórcio Público"},
    {"3.3.90.04.00", "Contratação por Tempo Determinado"},
    {"3.3.90.08.00", "Outros Benefícios Assistenciais"},
    {"3.3.90.14.00", "Diárias - Civil"},
    {"3.3.90.18.00", "Auxílio Financeiro a Estudantes"},
    {"3.3.90.20.00", "Auxílio Financeiro a Pesquisadores"},
    {"3.3.90.30.00", "Material de Consumo"},
    {"3.3.90.30.01", "Combustíveis e Lubrificantes Automotivos"},
    {"3.3.90.30.07", "Gêneros de Alimentação"},
    {"3.3.90.30.09", "Material Farmacológico"},
    {"3.3.90.30.10", "Material Odontológico"},
    {"3.3.90.30.11", "Material Químico"},
    {"3.3.90.30.16", "Material de Expediente"},
    {"3.3.90.30.17", "Material de Processamento de Dados"},
    {"3.3.90.30.22", "Material de Limpeza e Produtos de Higienização"},
    {"3.3.90.30.24", "Material para Manutenção de Bens Imóveis"},
    {"3.3.90.30.26", "Material Elétrico e Eletrônico"},
    {"3.3.90.30.35", "Material Laboratorial"},
    {"3.3.90.30.36", "Material Hospitalar"},
    {"3.3.90.30.39", "Material para Manutenção de Veículos"},
    {"3.3.90.30.99", "Outros Materiais de Consumo"},
    {"3.3.90.31.00", "Premiações Culturais, Artísticas, Científicas, Desportivas e Outras"},
    {"3.3.90.32.00", "Material de Distribuição Gratuita"},
    {"3.3.90.33.00", "Passagens e Despesas com Locomoção"},
    {"3.3.90.35.00", "Serviços de Consultoria"},
    {"3.3.90.36.00", "Outros Serviços de Terceiros - Pessoa Física"},
    {"3.3.90.37.00", "Locação de Mão-de-Obra"},
    {"3.3.90.38.00", "Arrendamento Mercantil"},
    {"3.3.90.39.00", "Outros Serviços de Terceiros - Pessoa Jurídica"},
    {"3.3.90.39.05", "Serviços Técnicos Profissionais"},
    {"3.3.90.39.16", "Manutenção e Conservação de Bens Imóveis"},
    {"3.3.90.39.17", "Manutenção e Conservação de Máquinas e Equipamentos"},
    {"3.3.90.39.19", "Manutenção e Conservação de Veículos"},
    {"3.3.90.39.43", "Serviços de Energia Elétrica"},
    {"3.3.90.39.44", "Serviços de Água e Esgoto"},
    {"3.3.90.39.47", "Serviços de Comunicação em Geral"},
    {"3.3.90.39.57", "Serviços de Processamento de Dados"},
    {"3.3.90.39.58", "Serviços de Telecomunicações"},
    {"3.3.90.39.63", "Serviços Gráficos"},
    {"3.3.90.39.99", "Outros Serviços de Terceiros - Pessoa Jurídica - Diversos"},
    {"3.3.90.46.00", "Auxílio-Alimentação"},
    {"3.3.90.47.00", "Obrigações Tributárias e Contributivas"},
    {"3.3.90.48.00", "Outros Auxílios Financeiros a Pessoas Físicas"},
    {"3.3.90.49.00", "Auxílio-Transporte"},
    {"3.3.90.67.00", "Depósitos Compulsórios"},
    {"3.3.90.91.00", "Sentenças Judiciais"},
    {"3.3.90.92.00", "Despesas de Exercícios Anteriores"},
    {"3.3.90.93.00", "Indenizações e Restituições"},
    {"3.3.90.95.00", "Indenização pela Execução de Trabalhos de Campo"},
    {"3.3.90.96.00", "Ressarcimento de Despesas de Pessoal Requisitado"},
};

const AccountDef kCapitalExpense[] = {
    {"4.4.20.42.00", "Auxílios"},
    {"4.4.30.42.00", "Auxílios"},
    {"4.4.40.42.00", "Auxílios"},
    {"4.4.50.42.00", "Auxílios"},
    {"4.4.71.70.00", "Rateio pela Participação em Consórcio Público"},
    {"4.4.90.14.00", "Diárias - Civil"},
    {"4.4.90.30.00", "Material de Consumo"},
    {"4.4.90.35.00", "Serviços de Consultoria"},
    {"4.4.90.36.00", "Outros Serviços de Terceiros - Pessoa Física"},
    {"4.4.90.39.00", "Outros Serviços de Terceiros - Pessoa Jurídica"},
    {"4.4.90.47.00", "Obrigações Tributárias e Contributivas"},
    {"4.4.90.51.00", "Obras e Instalações"},
    {"4.4.90.51.01", "Estudos e Projetos"},
    {"4.4.90.51.80", "Obras em Andamento"},
    {"4.4.90.51.91", "Obras de Pavimentação e Drenagem"},
    {"4.4.90.51.92", "Construção de Unidades Escolares"},
    {"4.4.90.51.93", "Construção de Unidades de Saúde"},
    {"4.4.90.51.99", "Outras Obras e Instalações"},
    {"4.4.90.52.00", "Equipamentos e Material Permanente"},
    {"4.4.90.52.04", "Aparelhos de Medição e Orientação"},
    {"4.4.90.52.06", "Aparelhos e Equipamentos de Comunicação"},
    {"4.4.90.52.08", "Aparelhos, Equipamentos, Utensílios Médico-Odontológico, Laboratorial e Hospitalar"},
    {"4.4.90.52.12", "Aparelhos e Utensílios Domésticos"},
    {"4.4.90.52.18", "Coleções e Materiais Bibliográficos"},
    {"4.4.90.52.24", "Equipamento de Proteção, Segurança e Socorro"},
    {"4.4.90.52.26", "Instrumentos Musicais e Artísticos"},
    {"4.4.90.52.28", "Máquinas e Equipamentos de Natureza Industrial"},
    {"4.4.90.52.30", "Máquinas e Equipamentos Energéticos"},
    {"4.4.90.52.33", "Equipamentos para Áudio, Vídeo e Foto"},
    {"4.4.90.52.34", "Máquinas, Utensílios e Equipamentos Diversos"},
    {"4.4.90.52.35", "Equipamentos de Processamento de Dados"},
    {"4.4.90.52.36", "Máquinas, Instalações e Utensílios de Escritório"},
    {"4.4.90.52.38", "Máquinas, Ferramentas e Utensílios de Oficina"},
    {"4.4.90.52.40", "Máquinas e Equipamentos Agrícolas e Rodoviários"},
    {"4.4.90.52.42", "Mobiliário em Geral"},
    {"4.4.90.52.48", "Veículos Diversos"},
    {"4.4.90.52.52", "Veículos de Tração Mecânica"},
    {"4.4.90.52.99", "Outros Materiais Permanentes"},
    {"4.4.90.61.00", "Aquisição de Imóveis"},
    {"4.4.90.91.00", "Sentenças Judiciais"},
    {"4.4.90.92.00", "Despesas de Exercícios Anteriores"},
    {"4.4.90.93.00", "Indenizações e Restituições"},
    {"4.5.90.61.00", "Aquisição de Imóveis"},
    {"4.5.90.64.00", "Aquisição de Títulos Representativos de Capital já Integralizado"},
    {"4.5.90.65.00", "Constituição ou Aumento de Capital de Empresas"},
    {"4.5.90.66.00", "Concessão de Empréstimos e Financiamentos"},
    {"4.5.90.92.00", "Despesas de Exercícios Anteriores"},
    {"4.6.90.71.00", "Principal da Dívida Contratual Resgatado"},
    {"4.6.90.72.00", "Principal da Dívida Mobiliária Resgatado"},
    {"4.6.90.73.00", "Correção Monetária ou Cambial da Dívida Contratual Resgatada"},
    {"4.6.90.74.00", "Correção Monetária ou Cambial da Dívida Mobiliária Resgatada"},
    {"4.6.90.76.00", "Principal Corrigido da Dívida Mobiliária Refinanciado"},
    {"4.6.90.77.00", "Principal Corrigido da Dívida Contratual Refinanciado"},
    {"4.6.90.92.00", "Despesas de Exercícios Anteriores"},
    {"9.9.99.99.99", "Reserva de Contingência"},
};

const AccountDef kIntraExpenseCurrent[] = {
    {"3.1.91.13.00", "Obrigações Patronais"},
    {"3.1.91.92.00", "Despesas de Exercícios Anteriores"},
    {"3.3.91.39.00", "Outros Serviços de Terceiros - Pessoa Jurídica"},
    {"3.3.91.47.00", "Obrigações Tributárias e Contributivas"},
    {"3.3.91.97.00", "Aporte para Cobertura do Déficit Atuarial do RPPS"},
};

const AccountDef kIntraExpenseCapital[] = {
    {"4.4.91.39.00", "Outros Serviços de Terceiros - Pessoa Jurídica"},
    {"4.4.91.51.00", "Obras e Instalações"},
    {"4.4.91.52.00", "Equipamentos e Material Permanente"},
    {"4.5.91.65.00", "Constituição ou Aumento de Capital de Empresas"},
};

const AccountDef kFundebDeductions[] = {
    {"9.17.12.07.00", "Dedução de Receita para a Formação do FUNDEB - ITCMD"},
    {"9.17.21.01.02", "Dedução de Receita para a Formação do FUNDEB - FPM"},
    {"9.17.21.01.05", "Dedução de Receita para a Formação do FUNDEB - ITR"},
    {"9.17.21.36.00", "Dedução de Receita para a Formação do FUNDEB - ICMS Desoneração - L.C. nº 87/96"},
    {"9.17.22.01.01", "Dedução de Receita para a Formação do FUNDEB - ICMS"},
    {"9.17.22.01.02", "Dedução de Receita para a Formação do FUNDEB - IPVA"},
    {"9.17.22.01.04", "Dedução de Receita para a Formação do FUNDEB - IPI Exportação"},
};

const AccountDef kEducationExpense[] = {
    {"1.10", "Despesa com Ensino Fundamental"},
    {"1.20", "Despesa com Educação Infantil"},
    {"1.30", "Outras Despesas com Manutenção e Desenvolvimento do Ensino"},
    {"2.10", "FUNDEB - Pagamento dos Profissionais do Magistério"},
    {"2.20", "FUNDEB - Outras Despesas"},
    {"3.00", "Despesas Custeadas com a Quota Estadual do Salário-Educação"},
    {"4.00", "Despesas Custeadas com Créditos Adicionais sem Dotação Inicial"},
    {"5.00", "Despesas com Transporte Escolar"},
    {"6.00", "Despesas com Alimentação Escolar"},
    {"7.10", "Despesas com Ensino Médio"},
    {"7.20", "Despesas com Ensino Superior"},
    {"7.30", "Despesas com Ensino Profissional"},
    {"8.11", "Restos a Pagar Cancelados - Ensino Fundamental"},
    {"8.12", "Restos a Pagar Cancelados - Educação Infantil"},
    {"8.21", "Restos a Pagar Cancelados - FUNDEB Magistério"},
    {"8.22", "Restos a Pagar Cancelados - FUNDEB Outras Despesas"},
    {"8.30", "Restos a Pagar Cancelados - Salário-Educação"},
    {"9.00", "Outras Despesas com Educação"},
};

const AccountDef kEducationRevenue[] = {
    {"6.00", "Outras Receitas Vinculadas à Educação"},
    {"7.00", "Receitas Vinculadas à Educação sem Previsão Orçamentária"},
};

const AccountDef kHealthExpense[] = {
    {"1.10", "Despesas Correntes com Saúde"},
    {"1.11", "Pessoal ativo"},
    {"1.12", "Pessoal inativo"},
    {"1.13", "Pensionistas"},
    {"1.20", "Outras Despesas Correntes"},
    {"1.30", "Juros e Encargos da Dívida"},
    {"2.00", "Despesas de Capital com Saúde"},
    {"2.10", "Investimentos"},
    {"2.20", "Inversões Financeiras"},
    {"2.30", "Amortização da Dívida"},
    {"3.10", "Despesas com Inativos e Pensionistas"},
    {"3.20", "Despesa Custeada com Outros Recursos Destinados à Saúde"},
    {"3.30", "Despesa Custeada com Recursos de Operações de Crédito"},
    {"3.40", "Despesa Custeada com Transferências do SUS"},
    {"4.00", "Restos a Pagar Inscritos sem Disponibilidade Financeira"},
    {"5.10", "Atenção Básica"},
    {"5.20", "Assistência Hospitalar e Ambulatorial"},
};

const AccountDef kHealthRevenue[] = {
    {"1.10", "Da União para o Município"},
    {"1.20", "Do Estado para o Município"},
    {"1.30", "De Outros Municípios para o Município"},
    {"2.00", "Receitas de Operações de Crédito Vinculadas à Saúde"},
    {"3.00", "Outras Receitas para Financiamento da Saúde"},
    {"4.00", "Receitas de Prestação de Serviços de Saúde"},
};

const AccountDef kGuarantees[] = {
    {"1.11", "Aval em operações de crédito"},
    {"1.12", "Fiança em operações de crédito"},
    {"1.13", "Outras garantias nos termos da LRF"},
    {"1.21", "Aval em operações de crédito"},
    {"1.22", "Fiança em operações de crédito"},
    {"1.23", "Outras garantias nos termos da LRF"},
    {"2.11", "Aval em operações de crédito"},
    {"2.12", "Fiança em operações de crédito"},
    {"2.13", "Outras garantias nos termos da LRF"},
    {"2.21", "Aval em operações de crédito"},
    {"2.22", "Fiança em operações de crédito"},
    {"2.23", "Outras garantias nos termos da LRF"},
};

const AccountDef kTaxIncentives[] = {
    {"1.0", "Incentivos Fiscais a Contribuinte"},
    {"2.0", "Incentivos Fiscais a Contribuinte por Instituições Financeiras"},
};

const AccountDef kAmortisedDebt[] = {
    {"4.6.80.01.01", "Dívida mobiliária"},
    {"4.6.80.01.02", "Dívida contratual interna"},
    {"4.6.80.01.03", "Dívida contratual externa"},
    {"4.6.80.01.04", "Outras dívidas"},
};

const AccountDef kContractedDebt[] = {
    {"1.100", "Dívida Mobiliária"},
    {"1.200", "Dívida Contratual Interna"},
    {"1.300", "Dívida Contratual Externa"},
    {"1.400", "Precatórios Posteriores a 05/05/2000"},
    {"1.501", "Parcelamento de Dívidas de Tributos"},
    {"1.502", "Parcelamento de Dívidas Previdenciárias"},
    {"1.503", "Parcelamento de Dívidas de Demais Contribuições Sociais"},
    {"1.504", "Parcelamento de Dívidas do FGTS"},
    {"1.600", "Dívidas com Instituição Financeira"},
    {"1.700", "Outras Dívidas"},
};

const AccountDef kActiveDebtCollected[] = {
    {"1.100", "Dívida Ativa Tributária - Impostos"},
    {"1.200", "Dívida Ativa Tributária - Taxas"},
    {"1.300", "Dívida Ativa Tributária - Contribuição de Melhoria"},
    {"2.000", "Dívida Ativa Não Tributária"},
};

const AccountDef kActiveDebtEntered[] = {
    {"1.000", "Dívida Ativa Tributária"},
    {"2.000", "Dívida Ativa Não Tributária"},
};

const AccountDef kCash[] = {
    {"1.100", "Caixa"},
    {"1.200", "Bancos Conta Movimento"},
    {"1.300", "Bancos Conta Movimento - Recursos do FUNDEB"},
    {"1.400", "Aplicações Financeiras"},
    {"1.500", "Bancos Conta Vinculada"},
    {"1.600", "Aplicações Financeiras de Recursos Vinculados"},
    {"1.700", "Numerário em Trânsito"},
    {"1.800", "Outras Disponibilidades"},
};
// The court's ids of the cash accounts: in the reference edition, and in
// the 2008 edition (the ids the cash section computes a balance for).
const int kCashIds[] = {3633, 3635, 3637, 3638, 3639, 3640, 3641, 3642};
const int kCashIds2008[] = {1269, 1271, 1273, 1274, 1275, 1276, 1277, 1278};

const AccountDef kCreditOperations[] = {
    {"1.10", "Operações de Crédito Internas - Mobiliária"},
    {"1.20", "Operações de Crédito Internas - Contratual"},
    {"1.30", "Outras Operações de Crédito Internas"},
    {"2.10", "Operações de Crédito Externas - Mobiliária"},
    {"2.20", "Operações de Crédito Externas - Contratual"},
    {"2.30", "Outras Operações de Crédito Externas"},
    {"3.00", "Antecipação da Receita Orçamentária - ARO"},
};

const AccountDef kFinancialObligations[] = {
    {"1.10", "Depósitos de Diversas Origens"},
    {"1.20", "Consignações"},
    {"1.30", "Serviços da Dívida a Pagar"},
    {"1.40", "Outras Obrigações Financeiras"},
};

const AccountDef kCommitmentsEducation[] = {
    {"1.10", "Ensino Fundamental"},
    {"1.20", "Educação Infantil"},
    {"1.30", "Outras Despesas com Manutenção e Desenvolvimento do Ensino"},
    {"2.10", "FUNDEB - Profissionais do Magistério"},
    {"2.20", "FUNDEB - Outras Despesas"},
};

const AccountDef kCommitmentsHealth[] = {
    {"1.10", "Ações e Serviços Públicos de Saúde - Despesas Correntes"},
    {"1.20", "Ações e Serviços Públicos de Saúde - Despesas de Capital"},
};

// Expense groups of the outstanding-commitment codes (third character of
// the economic category).
const char *const kExpenseGroups[] = {
    "Pessoal e Encargos Sociais", "Juros e Encargos da Dívida", "Outras Despesas Correntes",
    "Investimentos", "Inversões Financeiras", "Amortização da Dívida",
};

// ---------------------------------------------------------------------------
// Account registry: the account list of every catalogue tipo, by tipo value.

template <std::size_t N>
QList<CourtAccount> numbered(const AccountDef (&defs)[N], int firstId)
{
    QList<CourtAccount> out;
    out.reserve(int(N));
    int id = firstId;
    for (const AccountDef &d : defs)
        out.append({QString::fromUtf8(d.code), QString::fromUtf8(d.name), QString::number(id++)});
    return out;
}

// The intra-budgetary revenue accounts: the court repeats its revenue chart
// under the intra-budgetary category digits 7 (current) and 8 (capital).
QList<CourtAccount> intraRevenue(const QList<CourtAccount> &accounts, QChar digit, const QString &rootName,
                                 int firstId, const QString &skippedPrefix = QString())
{
    QList<CourtAccount> out;
    int id = firstId;
    for (const CourtAccount &a : accounts) {
        if (!skippedPrefix.isEmpty() && a.code.startsWith(skippedPrefix))
            continue;
        CourtAccount intra = a;
        intra.code[0] = digit;
        if (intra.code.mid(1) == u".0.00.00.00")
            intra.name = rootName;
        intra.id = QString::number(id++);
        out.append(intra);
    }
    return out;
}

// Outstanding-commitment accounts. For each of the six expense groups d the
// court has a line for the direct administration ("1.100.d00"), the indirect
// administration ("1.200.d00") and the legislative power ("2.d00.000"); the
// intra-budgetary tipos use the category digits 6 and 7 instead of 1 and 2.
QList<CourtAccount> commitmentLines(bool intra, bool withTotals, int &nextId)
{
    const QString exec = intra ? QStringLiteral("6") : QStringLiteral("1");
    const QString legis = intra ? QStringLiteral("7") : QStringLiteral("2");
    const QString pool = intra ? QStringLiteral("8") : QStringLiteral("3");
    const QString suffix = intra ? QStringLiteral(" (Intra-Orçamentário)") : QString();
    QList<std::pair<QString, QString>> lines;
    if (withTotals) {
        lines.append({exec + QStringLiteral(".000.000"), QStringLiteral("Poder Executivo")});
        lines.append({exec + QStringLiteral(".100.000"), QStringLiteral("Poder Executivo - Administração Direta")});
    }
    for (int d = 1; d <= 6; ++d)
        lines.append({exec + QStringLiteral(".100.") + QString::number(d) + QStringLiteral("00"), QString::fromUtf8(kExpenseGroups[d - 1])});
    if (withTotals)
        lines.append({exec + QStringLiteral(".200.000"), QStringLiteral("Poder Executivo - Administração Indireta")});
    for (int d = 1; d <= 6; ++d)
        lines.append({exec + QStringLiteral(".200.") + QString::number(d) + QStringLiteral("00"),
                      QString::fromUtf8(kExpenseGroups[d - 1]) + QStringLiteral(" - Administração Indireta")});
    if (withTotals)
        lines.append({legis + QStringLiteral(".000.000"), QStringLiteral("Poder Legislativo")});
    for (int d = 1; d <= 6; ++d)
        lines.append({legis + QStringLiteral(".") + QString::number(d) + QStringLiteral("00.000"),
                      QString::fromUtf8(kExpenseGroups[d - 1]) + QStringLiteral(" - Poder Legislativo")});
    if (withTotals) {
        lines.append({pool + QStringLiteral(".000.000"), QStringLiteral("Consórcios Públicos")});
        lines.append({pool + QStringLiteral(".100.000"), QStringLiteral("Consórcios Públicos - Despesas Correntes")});
        lines.append({pool + QStringLiteral(".200.000"), QStringLiteral("Consórcios Públicos - Despesas de Capital")});
    }
    QList<CourtAccount> out;
    for (const auto &[code, name] : lines)
        out.append({code, name + suffix, QString::number(nextId++)});
    return out;
}

template <std::size_t N>
QList<CourtAccount> commitmentList(const AccountDef (&defs)[N], bool intra, int &nextId)
{
    QList<CourtAccount> out = numbered(defs, nextId);
    nextId += int(N);
    if (intra) {
        for (CourtAccount &a : out)
            a.name += QStringLiteral(" (Intra-Orçamentário)");
    }
    return out;
}

struct Registry {
    QHash<QString, QList<CourtAccount>> byTipo;
    QStringList order; // tipo values in catalogue order
};

Registry buildRegistry()
{
    Registry r;
    auto put = [&r](const QString &tipo, QList<CourtAccount> list) { r.byTipo.insert(tipo, std::move(list)); };

    put(QStringLiteral("101"), numbered(kCurrentRevenue, 3095));
    put(QStringLiteral("102"), numbered(kCapitalRevenue, 3286));
    put(QStringLiteral("108"), intraRevenue(r.byTipo.value(QStringLiteral("101")), u'7',
                                            QStringLiteral("Receitas Correntes Intra-Orçamentárias"), 3650,
                                            QStringLiteral("1.1.30.")));
    put(QStringLiteral("109"), intraRevenue(r.byTipo.value(QStringLiteral("102")), u'8',
                                            QStringLiteral("Receitas de Capital Intra-Orçamentárias"), 3795));
    put(QStringLiteral("104"), {{QStringLiteral("2.000.000"),
                                 QStringLiteral("Superávit Financeiro do Exercício Anterior Utilizado"),
                                 QStringLiteral("3368")}});
    put(QStringLiteral("107"), {{QStringLiteral("2.000.000"),
                                 QStringLiteral("Superávit Financeiro do Exercício Anterior Verificado"),
                                 QStringLiteral("3369")}});
    put(QStringLiteral("105"), numbered(kEducationRevenue, 3370));
    put(QStringLiteral("106"), numbered(kHealthRevenue, 3372));

    put(QStringLiteral("201"), numbered(kCurrentExpense, 3381));
    QList<CourtAccount> capital = numbered(kCapitalExpense, 3460);
    capital.last().id = QStringLiteral("3529"); // the contingency reserve keeps the court's last expense id
    put(QStringLiteral("202"), capital);
    put(QStringLiteral("208"), numbered(kIntraExpenseCurrent, 3514));
    put(QStringLiteral("209"), numbered(kIntraExpenseCapital, 3519));
    put(QStringLiteral("205"), numbered(kEducationExpense, 3531));
    put(QStringLiteral("206"), numbered(kHealthExpense, 3549));

    put(QStringLiteral("#TIPO"), {{QStringLiteral("#ENTIDADE"), QStringLiteral("Entidade"), QStringLiteral("0")}});
    put(QStringLiteral("0"),
        {{QStringLiteral("#DESCRICAO"), QStringLiteral("Despesa Contratada"), QStringLiteral("0")}});
    put(QStringLiteral("#CODFUNCAO"),
        {{QStringLiteral("#CODSUBFUNCAO"), QStringLiteral("SubFunção"), QStringLiteral("#INFOINTRA")}});

    put(QStringLiteral("001"), numbered(kFundebDeductions, 3578));
    QList<CourtAccount> years;
    for (int year = 2007; year <= 2041; ++year)
        years.append({QStringLiteral("Ano"), QStringLiteral("Exercício"), QString::number(year)});
    put(QStringLiteral("Ano"), years);

    put(QStringLiteral("003"), numbered(kGuarantees, 3589));
    put(QStringLiteral("002"), numbered(kTaxIncentives, 3601));
    put(QStringLiteral("004"), numbered(kAmortisedDebt, 3607));
    put(QStringLiteral("005"), numbered(kContractedDebt, 3613));
    put(QStringLiteral("007"), numbered(kActiveDebtCollected, 3623));
    put(QStringLiteral("006"), numbered(kActiveDebtEntered, 3627));
    QList<CourtAccount> cash = numbered(kCash, 0);
    for (int i = 0; i < cash.size(); ++i)
        cash[i].id = QString::number(kCashIds[i]);
    put(QStringLiteral("008"), cash);
    put(QStringLiteral("009"), numbered(kCreditOperations, 3643));
    put(QStringLiteral("3"), {{QStringLiteral("9.1.0.0.0.00.00"),
                               QStringLiteral("Meta de Resultado Fixado nos Anexos de Metas Fiscais da LDO"),
                               QStringLiteral("3")}});

    // Outstanding commitments and financial obligations, numbered in the
    // order the catalogue lists their tipos.
    int next = 637;
    put(QStringLiteral("01"), commitmentLines(false, false, next));
    put(QStringLiteral("10"), commitmentLines(true, false, next));
    put(QStringLiteral("04"), commitmentLines(false, false, next));
    put(QStringLiteral("13"), commitmentLines(true, false, next));
    put(QStringLiteral("06"), commitmentList(kCommitmentsEducation, false, next));
    put(QStringLiteral("15"), commitmentList(kCommitmentsEducation, true, next));
    put(QStringLiteral("08"), commitmentList(kCommitmentsEducation, false, next));
    put(QStringLiteral("17"), commitmentList(kCommitmentsEducation, true, next));
    put(QStringLiteral("07"), commitmentList(kCommitmentsHealth, false, next));
    put(QStringLiteral("16"), commitmentList(kCommitmentsHealth, true, next));
    put(QStringLiteral("09"), commitmentList(kCommitmentsHealth, false, next));
    put(QStringLiteral("18"), commitmentList(kCommitmentsHealth, true, next));
    put(QStringLiteral("05"), commitmentLines(false, true, next));
    put(QStringLiteral("14"), commitmentLines(true, true, next));
    put(QStringLiteral("02"), commitmentList(kFinancialObligations, false, next));
    put(QStringLiteral("11"), commitmentList(kFinancialObligations, true, next));
    return r;
}

const Registry &registry()
{
    static const Registry r = buildRegistry();
    return r;
}

// ---------------------------------------------------------------------------
// The catalogue tree.

struct TipoDef {
    QString name;
    QString value;
    QString id;
};

struct PeriodDef {
    QString kind; // periodicidade "properties"
    int count;
    QStringList slotNames; // full slot names; the field keeps their first 20 characters
};

PeriodDef monthly(QStringList slotNames) { return {QStringLiteral("1"), 2, std::move(slotNames)}; }
PeriodDef yearly(QStringList slotNames) { return {QStringLiteral("0"), 1, std::move(slotNames)}; }
PeriodDef bimesters(QStringList slotNames) { return {QStringLiteral("2"), 6, std::move(slotNames)}; }
PeriodDef bimester(QStringList slotNames) { return {QStringLiteral("2"), 1, std::move(slotNames)}; }

struct TipoNode {
    TipoDef tipo;
    PeriodDef periods;
};
struct OpcaoNode {
    QString name, id;
    QList<TipoNode> tipos;
};
struct CadastroNode {
    QString name;
    QList<OpcaoNode> opcoes;
};

class Outline {
public:
    void cadastro(const QString &name) { m_cadastros.append({name, {}}); }
    void opcao(const QString &name, const QString &id) { m_cadastros.last().opcoes.append({name, id, {}}); }
    void tipo(const TipoDef &t, const PeriodDef &p) { m_cadastros.last().opcoes.last().tipos.append({t, p}); }
    const QList<CadastroNode> &cadastros() const { return m_cadastros; }

private:
    QList<CadastroNode> m_cadastros;
};

// The court's reference catalogue, cadastro by cadastro.
Outline catalogueOutline()
{
    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    const TipoDef r101{s("Receita Corrente (Exceto Intra-Orçamentária)"), s("101"), s("53")};
    const TipoDef r102{s("Receita de Capital (Exceto Intra-Orçamentária)"), s("102"), s("54")};
    const TipoDef r108{s("Receita Corrente (Intra-Orçamentária)"), s("108"), s("73")};
    const TipoDef r109{s("Receita de Capital (Intra-Orçamentária)"), s("109"), s("74")};
    const TipoDef d201{s("Despesa Corrente (Exceto Intra-Orçamentária)"), s("201"), s("58")};
    const TipoDef d202{s("Despesa de Capital (Exceto Intra-Orçamentária)"), s("202"), s("59")};
    const TipoDef d208{s("Despesa Corrente (Intra-Orçamentária)"), s("208"), s("75")};
    const TipoDef d209{s("Despesa de Capital (Intra-Orçamentária)"), s("209"), s("76")};
    const TipoDef deducoes{s("Deduções para o FUNDEB"), s("001"), s("62")};
    const TipoDef eduDespesa{s("Despesa Educação"), s("205"), s("60")};
    const TipoDef eduReceita{s("Receita Educação"), s("105"), s("56")};
    const TipoDef saudeDespesa{s("Despesa Saúde"), s("206"), s("61")};
    const TipoDef saudeReceita{s("Receita Saúde"), s("106"), s("57")};
    const TipoDef amortizada{s("Divida Amortizada"), s("004"), s("65")};
    const TipoDef incentivo{s("Incentivo Fiscal"), s("002"), s("63")};
    const QList<TipoDef> revenue{r101, r102, r108, r109};
    const QList<TipoDef> expense{d201, d202, d208, d209};

    const QStringList atualRealizado{s("valor_atualizado"), s("valor_realizado")};
    const QStringList atualLiquidado{s("valor_atualizado"), s("valor_liquidado")};
    const QStringList orcado{s("valor_orcado")};
    const QStringList cancelado{s("valor_cancelado")};
    const QStringList anulado{s("valor_anulado")};
    const QStringList inscritos{s("valor_processado"), s("valor_naoprocessado"), s("valor_insuficienciafinanceira")};

    Outline o;
    o.cadastro(s("Receitas"));
    o.opcao(s("Receita Realizada e Atualizada"), s("movimento"));
    for (const TipoDef &t : revenue)
        o.tipo(t, monthly(atualRealizado));
    o.opcao(s("Receita Cancelada"), s("movimento"));
    for (const TipoDef &t : revenue)
        o.tipo(t, monthly(cancelado));
    o.opcao(s("Superávit Financeiro Utilizado"), s("movimento"));
    o.tipo({s("Superavit Financeiro Utilizado"), s("104"), s("55")}, monthly({s("valor_realizado")}));
    o.opcao(s("Receita Orçamento"), s("orcado"));
    for (const TipoDef &t : revenue)
        o.tipo(t, bimesters(orcado));
    o.opcao(s("Superávit Financeiro Verificado"), s("movimento"));
    o.tipo({s("Superavit Financeiro Verificado"), s("107"), s("72")}, yearly({s("valor_realizado")}));

    o.cadastro(s("Despesas"));
    o.opcao(s("Despesa Realizada"), s("movimento"));
    for (const TipoDef &t : expense)
        o.tipo(t, monthly({s("valor_empenhado"), s("valor_liquidado"), s("valor_realizado")}));
    o.opcao(s("Crédito Adicional da Despesa"), s("movimento"));
    for (const TipoDef &t : {d201, d202})
        o.tipo(t, monthly({s("valor_creditoadicional")}));
    o.opcao(s("Despesa Anulada"), s("movimento"));
    for (const TipoDef &t : expense)
        o.tipo(t, monthly({s("valor_cancelado"), s("valor_anulado")}));
    o.opcao(s("Despesa Orçamento"), s("orcado"));
    for (const TipoDef &t : expense)
        o.tipo(t, yearly(orcado));
    o.opcao(s("Programação Financeira"), s("programacaofinanceira"));
    {
        QStringList months;
        for (int m = 1; m <= 12; ++m)
            months.append(s("valor_mes") + QString::number(m));
        o.tipo({s("Administração"), s("#TIPO"), s("0")}, {s("1"), 1, months});
    }
    o.opcao(s("De Caráter Continuado Derivada das PPP"), s("despesappp"));
    {
        QStringList years{s("valor_exercicioanterior"), s("valor_exercicioatual")};
        for (int y = 1; y <= 9; ++y)
            years.append(s("valor_exercicio0") + QString::number(y));
        o.tipo({s("0"), s("0"), s("0")}, yearly(years));
    }

    o.cadastro(s("Despesas por Função/Subfunção"));
    o.opcao(s("Despesa por Função/Subfunção - Realizado"), s("funcaosubrealizado"));
    o.tipo({s("Função"), s("#CODFUNCAO"), s("#REALIZADOANULADO")},
           monthly({s("valor_atualizado"), s("valor_empenhado"), s("valor_liquidado")}));
    o.opcao(s("Despesa por Função/Subfunção - Anulada"), s("funcaosubrealizado"));
    o.tipo({s("Função"), s("#CODFUNCAO"), s("#REALIZADOANULADO")},
           monthly({s("valor_anuladoempenhado"), s("valor_anuladoliquidado")}));
    o.opcao(s("Despesa por Função/Subfunção - Orçado "), s("funcaosuborcado"));
    o.tipo({s("Função"), s("#CODFUNCAO"), s("0")}, yearly(orcado));

    o.cadastro(s("Deduções"));
    o.opcao(s("Deduções para o Fundef Realizadas e Atualizadas"), s("movimento"));
    o.tipo(deducoes, monthly(atualRealizado));
    o.opcao(s("Orçamento de Deduções para o FUNDEF"), s("orcado"));
    o.tipo(deducoes, yearly(orcado));

    o.cadastro(s("Projeção Atuarial"));
    o.opcao(s("Projeção Atuarial"), s("projecaoatuarial"));
    o.tipo({s("Exercício"), s("Ano"), s("2007")},
           yearly({s("valor_receitaprevidenciaria"), s("valor_despesaprevidenciaria"), s("valor_saldofinanceiro")}));

    o.cadastro(s("Educação"));
    o.opcao(s("Educação - Despesa Liquidada e Atualizada"), s("movimento"));
    o.tipo(eduDespesa, monthly(atualLiquidado));
    o.opcao(s("Educação - Despesa Anulada"), s("movimento"));
    o.tipo(eduDespesa, monthly(anulado));
    o.opcao(s("Educação - Despesa Orçada"), s("orcado"));
    o.tipo(eduDespesa, yearly(orcado));
    o.opcao(s("Educação - Receita Realizada e Atualizada"), s("movimento"));
    o.tipo(eduReceita, monthly(atualRealizado));
    o.opcao(s("Educação - Receita Cancelada"), s("movimento"));
    o.tipo(eduReceita, monthly(cancelado));
    o.opcao(s("Educação - Receita Orçada"), s("orcado"));
    o.tipo(eduReceita, yearly(orcado));

    o.cadastro(s("Saúde"));
    o.opcao(s("Saúde - Despesa Liquidada e Atualizada"), s("movimento"));
    o.tipo(saudeDespesa, monthly(atualLiquidado));
    o.opcao(s("Saúde - Despesa Anulada "), s("movimento"));
    o.tipo(saudeDespesa, monthly(anulado));
    o.opcao(s("Saúde - Despesa Orçada"), s("orcado"));
    o.tipo(saudeDespesa, yearly(orcado));
    o.opcao(s("Saúde - Receita Realizada e Atualizada"), s("movimento"));
    o.tipo(saudeReceita, monthly(atualRealizado));
    o.opcao(s("Saúde - Receita Cancelada"), s("movimento"));
    o.tipo(saudeReceita, monthly(cancelado));
    o.opcao(s("Saúde - Receita Orçada"), s("orcado"));
    o.tipo(saudeReceita, yearly(orcado));

    o.cadastro(s("Dívidas Realizadas"));
    o.opcao(s("Dívidas Realizadas Realizada"), s("movimento"));
    o.tipo({s("Divida Realizada"), s("005"), s("66")}, bimester({s("valor_realizado")}));

    o.cadastro(s("Dívidas Amortizadas"));
    o.opcao(s("Dívidas Amortizadas Realizada"), s("movimento"));
    o.tipo(amortizada, bimester({s("valor_empenhado"), s("valor_liquidado")}));
    o.opcao(s("Dívidas Amortizadas Crédito Adicional"), s("movimento"));
    o.tipo(amortizada, bimester({s("valor_creditoadicional")}));
    o.opcao(s("Dívida Amortizada - Anulada"), s("movimento"));
    o.tipo(amortizada, bimester({s("valor_cancelado"), s("valor_anulado")}));
    o.opcao(s("Dívidada Amortizada - Orçada"), s("orcado"));
    o.tipo(amortizada, yearly(orcado));

    const QString rp = s("restopagarmovimento");
    const QString intra = s(" (Intra-Orçamentário)");
    o.cadastro(s("Restos à Pagar"));
    o.opcao(s("Restos à Pagar Realizado - Baixa"), rp);
    {
        const PeriodDef p = monthly({s("valor_processado"), s("valor_processadocancelado"), s("valor_naoprocessado"),
                                      s("valor_naoprocessadocancelado")});
        o.tipo({s("Realizado (baixa mês a mês)"), s("01"), s("28")}, p);
        o.tipo({s("Realizado (baixa mês a mês)") + intra, s("10"), s("34")}, p);
    }
    o.opcao(s("Restos à Pagar Inscritos no Final do Exercício Atual"), rp);
    o.tipo({s("Inscritos do Exercício Atual"), s("04"), s("30")}, yearly(inscritos));
    o.tipo({s("Inscritos do Exercício Atual") + intra, s("13"), s("36")}, yearly(inscritos));
    o.opcao(s("Restos à Pagar Realizado - Educação Inscrito"), rp);
    o.tipo({s("Educação"), s("06"), s("32")}, yearly(inscritos));
    o.tipo({s("Educação") + intra, s("15"), s("38")}, yearly(inscritos));
    o.opcao(s("Restos à Pagar - Educação Cancelado"), rp);
    o.tipo({s("Educação Cancelado"), s("08"), s("40")}, monthly(cancelado));
    o.tipo({s("Educação Cancelado") + intra, s("17"), s("42")}, monthly(cancelado));
    o.opcao(s("Restos à Pagar Realizado - Saúde Inscrito"), rp);
    o.tipo({s("Saúde"), s("07"), s("33")}, yearly(inscritos));
    o.tipo({s("Saúde") + intra, s("16"), s("39")}, yearly(inscritos));
    o.opcao(s("Restos à Pagar - Saúde Cancelado"), rp);
    o.tipo({s("Saúde Cancelado"), s("09"), s("41")}, monthly(cancelado));
    o.tipo({s("Saúde Cancelado") + intra, s("18"), s("43")}, monthly(cancelado));
    o.opcao(s("Restos à Pagar Inscritos e Processados em Exercícios Anteriores"), rp);
    o.tipo({s("Exercícios Anteriores"), s("05"), s("31")}, yearly({s("valor_processado")}));
    o.tipo({s("Exercícios Anteriores") + intra, s("14"), s("37")}, yearly({s("valor_processado")}));

    o.cadastro(s("Obrigações Financeiras "));
    o.opcao(s("Obrigações Financeiras"), rp);
    o.tipo({s("Obrigação Financeira"), s("02"), s("29")}, yearly({s("valor_processado")}));
    o.tipo({s("Obrigação Financeira") + intra, s("11"), s("35")}, yearly({s("valor_processado")}));

    o.cadastro(s("Disponibilidades"));
    o.opcao(s("Disponibilidades"), s("movimento"));
    o.tipo({s("Disponibilidade Realizado"), s("008"), s("69")}, bimester({s("valor_realizado")}));

    o.cadastro(s("Dívida Ativa"));
    o.opcao(s("Dívida Ativa - Recebimento"), s("movimento"));
    o.tipo({s("Dívida Ativa Recebimento"), s("007"), s("68")}, monthly({s("valor_recebimento"), s("valor_cancelado")}));
    o.opcao(s("Dívida Ativa - Inscrita do Exercício Anterior"), s("movimento"));
    o.tipo({s("Dívida Ativa Inscrita no Exercício"), s("006"), s("67")}, yearly({s("valor_inscritoexercicio")}));

    o.cadastro(s("Incentivos Fiscais"));
    o.opcao(s("Incentivos Fiscais - Atualizada e Liquidada"), s("movimento"));
    o.tipo(incentivo, monthly(atualLiquidado));
    o.opcao(s("Incetivo Fiscal - Anulado "), s("movimento"));
    o.tipo(incentivo, monthly(anulado));
    o.opcao(s("Orçamento de Incentivos Fiscais "), s("orcado"));
    o.tipo(incentivo, yearly(orcado));

    o.cadastro(s("Garantias e Contragarantias"));
    o.opcao(s("Garantias e Contragarantias"), s("movimento"));
    o.tipo({s("Garantia Contragarantia"), s("003"), s("64")}, monthly({s("valor_realizado")}));

    o.cadastro(s("Operação de Crédito"));
    o.opcao(s("Operação de Crédito"), s("movimento"));
    o.tipo({s("Operação de Credito Realizado (ARO)"), s("009"), s("70")}, bimester({s("valor_realizado")}));

    o.cadastro(s("Meta Fiscal da LDO"));
    o.opcao(s("Meta Fiscal da LDO"), s("metafiscalnominalprimario"));
    o.tipo({s("Tipo de Meta Fiscal"), s("3"), s("3")}, yearly({s("valor_nominal"), s("valor_primario")}));
    return o;
}

// The tipos whose names the court pads with blanks to 50 characters: the
// revenue and expense account types.
bool hasPaddedName(const QString &tipoValue)
{
    static const QSet<QString> padded{QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("108"),
                                      QStringLiteral("109"), QStringLiteral("201"), QStringLiteral("202"),
                                      QStringLiteral("208"), QStringLiteral("209")};
    return padded.contains(tipoValue);
}

// Court codes begin with a digit; markers ("#ENTIDADE", "Ano") are kept as they are.
QString paddedCode(const QString &code)
{
    if (code.isEmpty() || !code.at(0).isDigit())
        return code;
    return code.leftJustified(kAccountCodeWidth, u' ');
}

// The 2008 numbering of the tipos. Education and health tipos carry the
// ids 35/29 and 36/30; the amortised-debt tipo carries 41 under the realised
// option and 47 under the additional-credit option (the other two options
// keep the older id, the budget branch needing none); the outstanding
// commitment and financial obligation tipos are numbered value + 9, which
// gives the realised ("baixa") tipos 01 and 10 the ids 10 and 19 and keeps
// them clear of the education and health ids.
QString tipoId2008(const OpcaoNode &opcao, const TipoDef &tipo)
{
    const QString &v = tipo.value;
    if (v == u"205")
        return QStringLiteral("35");
    if (v == u"105")
        return QStringLiteral("29");
    if (v == u"206")
        return QStringLiteral("36");
    if (v == u"106")
        return QStringLiteral("30");
    if (v == u"004") {
        if (opcao.name == QStringLiteral("Dívidas Amortizadas Realizada"))
            return QStringLiteral("41");
        if (opcao.name == QStringLiteral("Dívidas Amortizadas Crédito Adicional"))
            return QStringLiteral("47");
        return tipo.id;
    }
    if (opcao.id == u"restopagarmovimento") {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (ok)
            return QString::number(n + 9);
    }
    return tipo.id;
}

QString contaId2008(const QString &tipoValue, const CourtAccount &account)
{
    if (tipoValue == u"008") {
        for (int i = 0; i < int(std::size(kCashIds)); ++i) {
            if (account.id == QString::number(kCashIds[i]))
                return QString::number(kCashIds2008[i]);
        }
    }
    return account.id;
}

// Metadata of the catalogue levels, from the innermost out.
struct Levels {
    Table dados, periodicidade, conta, tipo, opcao, cadastro, top;
};

Levels catalogueLevels()
{
    Levels l;
    l.dados.fields = {Field::text(QStringLiteral("properties"), 20), Field::text(QStringLiteral("value"), 20)};
    l.periodicidade.fields = {Field::text(QStringLiteral("properties"), 20),
                              Field::nestedTable(QStringLiteral("dados"), l.dados)};
    l.conta.fields = {Field::text(QStringLiteral("name"), 255), Field::text(QStringLiteral("value"), 20),
                      Field::text(QStringLiteral("id"), 25),
                      Field::nestedTable(QStringLiteral("periodicidade"), l.periodicidade)};
    l.tipo.fields = {Field::text(QStringLiteral("name"), 255), Field::text(QStringLiteral("value"), 20),
                     Field::text(QStringLiteral("id"), 25), Field::nestedTable(QStringLiteral("conta"), l.conta)};
    l.opcao.fields = {Field::text(QStringLiteral("name"), 255), Field::text(QStringLiteral("id"), 25),
                      Field::nestedTable(QStringLiteral("tipo"), l.tipo)};
    l.cadastro.fields = {Field::text(QStringLiteral("name"), 255),
                         Field::nestedTable(QStringLiteral("opcao"), l.opcao)};
    l.top.fields = {Field::text(QStringLiteral("name"), 255),   Field::text(QStringLiteral("properties"), 20),
                    Field::text(QStringLiteral("value"), 20),   Field::text(QStringLiteral("version"), 3),
                    Field::text(QStringLiteral("xsi"), 41),     Field::nestedTable(QStringLiteral("cadastro"), l.cadastro)};
    return l;
}

void fillPeriods(Table &periods, const PeriodDef &def)
{
    for (int i = 0; i < def.count; ++i) {
        Row row = periods.newRow();
        periods.setValue(row, QStringLiteral("properties"), def.kind);
        Table &dados = periods.child(row, QStringLiteral("dados"));
        for (const QString &slot : def.slotNames) {
            Row d = dados.newRow();
            dados.setValue(d, QStringLiteral("properties"), slot.left(20));
            dados.setValue(d, QStringLiteral("value"), QStringLiteral("#VALOR"));
            dados.rows.append(std::move(d));
        }
        periods.rows.append(std::move(row));
    }
}

void fillContas(Table &contas, const TipoNode &node, CatalogueEdition edition)
{
    const QString &value = node.tipo.value;
    for (const CourtAccount &account : referenceAccounts(value)) {
        Row row = contas.newRow();
        contas.setValue(row, QStringLiteral("name"), account.name);
        contas.setValue(row, QStringLiteral("value"), paddedCode(account.code));
        contas.setValue(row, QStringLiteral("id"),
                        edition == CatalogueEdition::Year2008 ? contaId2008(value, account) : account.id);
        fillPeriods(contas.child(row, QStringLiteral("periodicidade")), node.periods);
        contas.rows.append(std::move(row));
    }
}

// ---------------------------------------------------------------------------
// The court chart.

struct ChartTypeDef {
    const char *codtipo;
    const char *description;
    const char *kind;
};

const ChartTypeDef kChartTypes[] = {
    {"001", "Deduções para o FUNDEB", "R"},
    {"002", "Incentivo Fiscal", "V"},
    {"003", "Garantia Contragarantia", "V"},
    {"004", "Divida Amortizada", "V"},
    {"005", "Divida Realizada", "V"},
    {"006", "Dívida Ativa Inscrita no Exercício", "V"},
    {"007", "Dívida Ativa Recebimento", "V"},
    {"008", "Disponibilidade Realizado", "V"},
    {"009", "Operação de Credito Realizado (ARO)", "V"},
    {"01", "Restos a Pagar", "P"},
    {"10", "Restos a Pagar (Intra-Orçamentário)", "P"},
    {" 101 ", "Receita Corrente (Exceto Intra-Orçamentária)", "R"},
    {"102", "Receita de Capital (Exceto Intra-Orçamentária)", "R"},
    {"103", "Receita Intra-Orçamentária (Qualquer Categoria)", "R"},
    {"104", "Superavit Financeiro Utilizado", "R"},
    {"105", "Receita Educação", "V"},
    {"106", "Receita Saúde", "V"},
    {"107", "Superavit Financeiro Verificado", "R"},
    {"108", "Receita Corrente (Intra-Orçamentária)", "R"},
    {"109", "Receita de Capital (Intra-Orçamentária)", "R"},
    {"201", "Despesa Corrente (Exceto Intra-Orçamentária)", "D"},
    {"202", "Despesa de Capital (Exceto Intra-Orçamentária)", "D"},
    {"203", "Despesa Intra-Orçamentária (Qualquer Categoria)", "D"},
    {"204", "Despesa Custeada com Superávit Financeiro", "D"},
    {"205", "Despesa Educação", "V"},
    {"206", "Despesa Saúde", "V"},
    {"207", "Despesa sem Dotação Inicial (Créditos Adicionais)", "D"},
    {"208", "Despesa Corrente (Intra-Orçamentária)", "D"},
    {"209", "Despesa de Capital (Intra-Orçamentária)", "D"},
};

// Accounts of the chart types that have no catalogue tipo of their own.
const AccountDef kChart103[] = {
    {"7.2.10.29.13", "Contribuição Patronal para Cobertura de Déficit Atuarial do RPPS (Intra-Orçamentária)"},
    {"7.2.10.29.15", "Contribuição Patronal Suplementar ao RPPS (Intra-Orçamentária)"},
};
const AccountDef kChart203[] = {
    {"5.1.2.1.7.01.00", "Contribuições Patronais Intra-Orçamentárias ao Regime Próprio de Previdência"},
};
const AccountDef kChart204[] = {
    {"3.3.90.39.00", "Outros Serviços de Terceiros - Pessoa Jurídica"},
    {"4.4.90.51.00", "Obras e Instalações"},
};

template <std::size_t N>
void appendChart(QList<ChartAccount> &out, const QString &codtipo, const AccountDef (&defs)[N])
{
    for (const AccountDef &d : defs)
        out.append({codtipo, QString::fromUtf8(d.code), QString::fromUtf8(d.name)});
}

void appendChart(QList<ChartAccount> &out, const QString &codtipo, const QList<CourtAccount> &accounts,
                 bool compact = false)
{
    for (const CourtAccount &a : accounts) {
        QString code = a.code;
        if (compact)
            code.remove(u'.');
        out.append({codtipo, code, a.name});
    }
}

DataPacket flatPacket(const QList<Field> &fields, const QList<QStringList> &rows)
{
    DataPacket p;
    p.root.fields = fields;
    for (const QStringList &values : rows) {
        Row row = p.root.newRow();
        for (int i = 0; i < fields.size(); ++i)
            p.root.setValue(row, fields[i].name, values.value(i));
        p.root.rows.append(std::move(row));
    }
    return p;
}

} // namespace

QList<CourtAccount> referenceAccounts(const QString &tipoValue)
{
    return registry().byTipo.value(tipoValue);
}

QStringList catalogueTipoValues()
{
    QStringList values;
    const Outline outline = catalogueOutline();
    for (const CadastroNode &c : outline.cadastros()) {
        for (const OpcaoNode &o : c.opcoes) {
            for (const TipoNode &t : o.tipos) {
                if (!values.contains(t.tipo.value))
                    values.append(t.tipo.value);
            }
        }
    }
    return values;
}

DataPacket buildCatalogue(CatalogueEdition edition)
{
    const Levels levels = catalogueLevels();
    DataPacket packet;
    packet.root = levels.top;
    Row top = packet.root.newRow();
    packet.root.setValue(top, QStringLiteral("name"), QStringLiteral("lrfcaptura"));
    packet.root.setValue(top, QStringLiteral("properties"), QStringLiteral("bimestre"));
    packet.root.setValue(top, QStringLiteral("value"), QStringLiteral("1"));
    packet.root.setValue(top, QStringLiteral("version"), QStringLiteral("3.0"));
    packet.root.setValue(top, QStringLiteral("xsi"), QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));

    Table &cadastros = packet.root.child(top, QStringLiteral("cadastro"));
    const Outline outline = catalogueOutline();
    for (const CadastroNode &c : outline.cadastros()) {
        Row cadRow = cadastros.newRow();
        cadastros.setValue(cadRow, QStringLiteral("name"), c.name);
        Table &opcoes = cadastros.child(cadRow, QStringLiteral("opcao"));
        for (const OpcaoNode &o : c.opcoes) {
            Row opRow = opcoes.newRow();
            opcoes.setValue(opRow, QStringLiteral("name"), o.name);
            opcoes.setValue(opRow, QStringLiteral("id"), o.id);
            Table &tipos = opcoes.child(opRow, QStringLiteral("tipo"));
            for (const TipoNode &t : o.tipos) {
                Row tipoRow = tipos.newRow();
                const QString name =
                    hasPaddedName(t.tipo.value) ? t.tipo.name.leftJustified(kPaddedTipoNameWidth, u' ') : t.tipo.name;
                tipos.setValue(tipoRow, QStringLiteral("name"), name);
                tipos.setValue(tipoRow, QStringLiteral("value"), t.tipo.value);
                tipos.setValue(tipoRow, QStringLiteral("id"),
                               edition == CatalogueEdition::Year2008 ? tipoId2008(o, t.tipo) : t.tipo.id);
                fillContas(tipos.child(tipoRow, QStringLiteral("conta")), t, edition);
                tipos.rows.append(std::move(tipoRow));
            }
            opcoes.rows.append(std::move(opRow));
        }
        cadastros.rows.append(std::move(cadRow));
    }
    packet.root.rows.append(std::move(top));
    return packet;
}

QList<ChartType> courtChartTypes()
{
    QList<ChartType> out;
    for (const ChartTypeDef &t : kChartTypes)
        out.append({QString::fromUtf8(t.codtipo), QString::fromUtf8(t.description), QString::fromUtf8(t.kind)});
    return out;
}

QList<ChartAccount> courtChartAccounts()
{
    QList<ChartAccount> out;
    for (const ChartType &type : courtChartTypes()) {
        const QString code = type.codtipo.trimmed();
        if (code == u"101") {
            // The court's file writes the type of its first revenue account
            // with blanks around it, and lists the IPTU account twice.
            const QList<CourtAccount> accounts = referenceAccounts(code);
            for (int i = 0; i < accounts.size(); ++i) {
                const CourtAccount &a = accounts[i];
                out.append({i == 0 ? type.codtipo : code, a.code, a.name});
                if (a.code == u"1.1.12.02.00")
                    out.append({code, a.code, QStringLiteral("IPTU - Imposto Predial e Territorial Urbano")});
            }
        } else if (code == u"01" || code == u"10") {
            // Commitment sources are stored without their points.
            appendChart(out, code, referenceAccounts(code), true);
        } else if (code == u"103") {
            appendChart(out, code, kChart103);
        } else if (code == u"203") {
            appendChart(out, code, kChart203);
        } else if (code == u"204") {
            appendChart(out, code, kChart204);
        } else if (code == u"207") {
            // Expense records opened by additional credit, without an
            // initial appropriation, are classified in this type.
            QList<CourtAccount> accounts = referenceAccounts(QStringLiteral("201"));
            for (const CourtAccount &a : referenceAccounts(QStringLiteral("202"))) {
                if (!a.code.startsWith(u'9'))
                    accounts.append(a);
            }
            appendChart(out, code, accounts);
        } else {
            appendChart(out, code, referenceAccounts(code));
        }
    }
    return out;
}

DataPacket chartTypesPacket()
{
    QList<QStringList> rows;
    for (const ChartType &t : courtChartTypes())
        rows.append({t.codtipo, t.description, t.kind});
    return flatPacket({Field::text(QStringLiteral("CODTIPO"), 5), Field::text(QStringLiteral("DESCRICAO"), 150),
                       Field::text(QStringLiteral("TIPO"), 1)},
                      rows);
}

DataPacket chartAccountsPacket()
{
    QList<QStringList> rows;
    for (const ChartAccount &a : courtChartAccounts())
        rows.append({a.codtipo, a.numContabil, a.description});
    return flatPacket({Field::text(QStringLiteral("CODTIPO"), 5), Field::text(QStringLiteral("NUM_CONTABIL"), 18),
                       Field::text(QStringLiteral("DESC_CONTABIL"), 150)},
                      rows);
}

} // namespace orven::demo
