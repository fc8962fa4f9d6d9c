// SPDX-License-Identifier: GPL-3.0-or-later
#include "Options.h"

#include "Quote.h"

#include <getopt.h>
#include <string_view>

namespace korvalin::cli {

std::string helpText() {
    const std::string first = std::to_string(firstIndexYear());
    const std::string last = std::to_string(lastIndexYear());
    const std::string house =
        worthResult("450 000 F", readAmount("450 000 F"), {1985, lastIndexYear()}, quoteText)
            .result;
    return R"(Usage : korvalin --euros|--francs [MONTANT]...
   ou : korvalin --de ANNÉE|ligne [--en ANNÉE] [--euros|--francs] [MONTANT]...
Convertit des montants entre francs et euros, au taux de 6,55957 francs pour un euro,
et écrit chaque résultat arrondi au millième, à la française : 1 500 F donne 228,674.
Avec --de, dit ce que vaut une somme d'une année dans la monnaie d'une autre, à
pouvoir d'achat égal, au centime : 450 000 F de 1985 valent )" +
           house + " € de " + last + R"(.

  -e, --euros      lit chaque montant en francs et l'écrit en euros
  -f, --francs     lit chaque montant en euros et l'écrit en francs
      --de ANNÉE   chaque montant est une somme de cette année, de )" +
           first + " à " + last + R"(
      --de ligne   chaque ligne donne son année, puis une tabulation ou un
                   point-virgule, puis le montant : 1985;120 000 F
      --en ANNÉE   l'année où l'exprimer (par défaut )" +
           last + R"()
      --help       affiche cette aide et termine
      --version    affiche la version et termine

Sans MONTANT, lit l'entrée standard, un montant par ligne, et écrit une ligne pour
chaque ligne lue, dans l'ordre : une ligne vide donne une ligne vide, un montant refusé
une ligne vide et, sur la sortie d'erreur, la raison. Un montant peut porter sa monnaie
(1 500 F, 15,24 €) ; celui qui est dans la monnaie du résultat est refusé.
Un montant négatif s'écrit après -- : korvalin -e -- -100

Avec --de sans -e ni -f, la somme est dans la monnaie écrite avec elle, sinon dans
celle de son année : anciens francs jusqu'en 1959, francs jusqu'en 2001, euros
ensuite ; le résultat est dans la monnaie de l'année de --en. 1 euro vaut
6,55957 francs, ou 655,957 anciens francs, avant 2002 aussi. Les sommes suivent
l'indice annuel des prix à la consommation de l'Insee, )" +
           first + "-" + last + R"( (Licence
Ouverte 2.0) : il mesure les prix de ce que consomment les ménages, non les
salaires ni le prix des logements.

Code de sortie : 0 si tous les montants ont été convertis, 1 si l'un d'eux a été
refusé (ou en cas d'erreur de lecture ou d'écriture), 2 si la ligne de commande
est incorrecte.
)";
}

const char* const kUsageHint = "Essayez « korvalin --help » pour plus d'informations.\n";

std::string versionText() {
    return "korvalin " KORVALIN_VERSION "\n"
           "Copyright (C) 2026 La Korvalin developers\n"
           "Licence GPLv3+ : GNU GPL version 3 ou ultérieure <https://gnu.org/licenses/gpl.html>\n"
           "Ceci est un logiciel libre : vous êtes libre de le modifier et de le redistribuer.\n"
           "Il n'y a AUCUNE GARANTIE, dans les limites permises par la loi.\n";
}

namespace {

// The value of --de or --en; for --de, "ligne" too. An error for the user otherwise.
std::optional<int> yearOption(const char* name, const char* value, std::string& error) {
    if (const std::optional<int> year = readYear(value)) {
        return year;
    }
    error = std::string("--") + name + " attend une année, comme --" + name + " 1985" +
            (std::string_view(name) == "de" ? ", ou « ligne »" : "") + " : pas « " +
            quoteText(value) + " ».";
    return std::nullopt;
}

} // namespace

WorthQuestion worthQuestion(const Options& options, int year) {
    WorthQuestion question{year, options.inYear};
    if (options.direction) {
        const bool toEuros = *options.direction == ConversionDirection::toEuros;
        question.forced = toEuros ? Money::franc : Money::euro;
        question.wanted = toEuros ? Money::euro : Money::franc;
    }
    return question;
}

Options parseOptions(int argc, char* argv[]) {
    enum LongOnly { help = 256, version, from, in };
    static const option longOptions[] = {
        {"euros", no_argument, nullptr, 'e'},
        {"francs", no_argument, nullptr, 'f'},
        {"de", required_argument, nullptr, from},
        {"en", required_argument, nullptr, in},
        {"help", no_argument, nullptr, help},
        {"version", no_argument, nullptr, version},
        {nullptr, 0, nullptr, 0},
    };
    Options options;
    bool twoDirections = false;
    std::optional<int> inYear;
    std::string yearError;
    opterr = 0; // the messages below are French
    int code = 0;
    while ((code = getopt_long(argc, argv, "ef", longOptions, nullptr)) != -1) {
        switch (code) {
        case 'e':
        case 'f': {
            const auto direction =
                code == 'e' ? ConversionDirection::toEuros : ConversionDirection::toFrancs;
            twoDirections = twoDirections || (options.direction && *options.direction != direction);
            options.direction = direction;
            break;
        }
        case from:
            options.purchasingPower = true;
            options.year = std::string_view(optarg) == "ligne"
                               ? std::nullopt
                               : yearOption("de", optarg, yearError);
            break;
        case in:
            inYear = yearOption("en", optarg, yearError);
            break;
        case help:
            options.action = Options::Action::help;
            return options;
        case version:
            if (options.action != Options::Action::help) {
                options.action = Options::Action::version;
            }
            break;
        default: {
            options.action = Options::Action::usageError;
            const bool shortOption = optopt > 0 && optopt < 128;
            const bool missingYear = optopt == from || optopt == in;
            options.error = missingYear
                                ? std::string(argv[optind - 1]) + " attend une année, comme " +
                                      argv[optind - 1] + " 1985."
                                : "option incorrecte : " +
                                      (shortOption ? "-" + std::string(1, static_cast<char>(optopt))
                                                   : std::string(argv[optind - 1]));
            if (optopt >= '0' && optopt <= '9') {
                options.error += " (un montant négatif s'écrit après -- : korvalin -e -- -100)";
            }
            return options;
        }
        }
    }
    if (options.action == Options::Action::version) {
        return options;
    }
    options.action = Options::Action::usageError;
    if (twoDirections) {
        options.error = "--euros et --francs ne vont pas ensemble : choisissez-en un.";
        return options;
    }
    if (!yearError.empty()) {
        options.error = yearError;
        return options;
    }
    if (!options.purchasingPower) {
        if (inYear) {
            options.error = "--en va avec --de : indiquez l'année de la somme, comme --de 1985.";
            return options;
        }
        if (!options.direction) {
            options.error = "indiquez --euros (-e) ou --francs (-f).";
            return options;
        }
    }
    options.inYear = inYear.value_or(lastIndexYear());
    // What no amount could change is said once, as a mistake of the command line.
    if (options.purchasingPower) {
        if (const auto refusal =
                refusedQuestion(worthQuestion(options, options.year.value_or(options.inYear)))) {
            options.error = refusalText(*refusal, {}, quoteText);
            return options;
        }
    }
    options.action = Options::Action::convert;
    options.amounts.assign(argv + optind, argv + argc);
    return options;
}

} // namespace korvalin::cli
