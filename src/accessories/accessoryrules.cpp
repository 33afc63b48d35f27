#include "accessoryrules.h"

#include "dates.h"

#include <cmath>

using tz::db::Dataset;

namespace tz::acc {

namespace {

QVector<AccessoryKind> buildKinds()
{
    QVector<AccessoryKind> k;
    const QMap<QString, QString> components{{"ZAVES", "Závěs"}, {"RETEZ", "Řetěz"}, {"SPOJ", "Spojovací díly"},
                                            {"VAZ_HAK", "Háky"}, {"JINE_ZKRAC", "Zkracovač"}, {"JINE", "Jiné díly"}};
    const QStringList componentFields{"ZAVES", "RETEZ", "SPOJ", "VAZ_HAK", "JINE_ZKRAC", "JINE"};
    auto withCapacities = [](QMap<QString, QString> m, const char *a, const char *b, const char *c) {
        m.insert("NOSNOST_1", QString::fromUtf8(a));
        m.insert("NOSNOST_2", QString::fromUtf8(b));
        m.insert("NOSNOST_3", QString::fromUtf8(c));
        return m;
    };

    AccessoryKind r;
    r.letter = "R";
    r.name = QString::fromUtf8("Řetěz");
    r.formClass = "TfVazaciRetez";
    r.mainCaption = "SESTAVA";
    r.typeHints = QStringList{"Jednopramenný řetězový úvazek", "Dvoupramenný řetězový úvazek",
                              "Třípramenný řetězový úvazek", "Čtyřpramenný řetězový úvazek",
                              "Nekonečný řetězový úvazek", "Věncový jednoduchý řetězový úvazek",
                              "Věncový dvojitý řetězový úvazek", "Jiný řetězový úvazek",
                              "Kombinovaný úvazek lano-řetěz-lano"};
    r.labels = withCapacities(components, "0 - 6°", "7 - 45°", "45 - 60°");
    r.labels.insert("PRUMER", QString::fromUtf8("Průměr řet. článku v mm"));
    r.labels.insert("DELKA", QString::fromUtf8("Délka v m"));
    r.hints.insert("JINE", QString::fromUtf8("Katalogové označení"));
    r.hints.insert("STREDISKO", QString::fromUtf8("Umístění vázacího řetězu - Středisko, popř. firma"));
    r.hints.insert("UZIVATEL", QString::fromUtf8("Jméno osoby užívající vázací prostředek"));
    r.fields = QStringList{"PRUMER", "DELKA", "NOSNOST_1", "NOSNOST_2", "NOSNOST_3"} + componentFields;
    r.classChoices = QStringList{"M24", "5", "8", "8S", "10", "10V"};
    r.classLabel = QString::fromUtf8("Jakostní třída");
    r.period3Choices = {36, 24, 12};
    r.thoroughLabel = QString::fromUtf8("Důkladná kontrola");
    r.lookup = LookupOnShow | LookupOnDiameterOrClass | LookupOnNumbers;
    r.focusDiameter = true;
    r.recordOnPeriodExit = false;
    r.cardReport = "evretez";
    r.protocolReport = "revretez.pts";
    k << r;

    AccessoryKind l;
    l.letter = "L";
    l.name = "Lano";
    l.formClass = "TfVazaciLana";
    l.mainCaption = "SESTAVA";
    l.typeHints = QStringList{"Jednopramenný lanový úvazek oko-oko", "Jednopramenný lanový úvazek oko-hák",
                              "Dvoupramenný úvazek oko-hák", "Trojpramenný úvazek oko-hák", "Čtyřpramenný úvazek oko-hák",
                              "Věncový lanový úvazek jednoduchý", "Věncový lanový úvazek dvojitý", "Jiný lanový úvazek"};
    l.labels = withCapacities({}, "0 - 6°", "0 - 45°", "45 - 60°");
    l.labels.insert("PRUMER", QString::fromUtf8("Průměr lana v mm"));
    l.labels.insert("DELKA", QString::fromUtf8("Délka v m"));
    l.fields = QStringList{"PRUMER", "DELKA", "NOSNOST_1", "NOSNOST_2", "NOSNOST_3"};
    l.classChoices = QStringList{"1570", "1770"};
    l.classListOnly = true;
    l.classLabel = QString::fromUtf8("Pevnostní třída");
    l.lookup = LookupOnShow | LookupOnClass;
    l.focusDiameter = true;
    l.cardReport = "evlano";
    l.protocolReport = "revlano.pts";
    k << l;

    AccessoryKind x;
    x.letter = "X";
    x.name = "Textilie";
    x.formClass = "TfVazaciTex";
    x.mainCaption = "SESTAVA";
    x.typeHints = QStringList{"Nekonečná vinutá smyčka", "Nekonečný popruh", "Zvedací popruh s textil. oky",
                              "Zvedací popruh s kovovými oky", "Kombinovaný úvazek jednopramenný",
                              "Kombinovaný úvazek dvoupramenný", "Kombinovaný úvazek tří/čtyřpramenný",
                              "Jiný textilní úvazek"};
    x.labels = withCapacities(components, "0 - 6°", "0 - 45°", "45 - 60°");
    x.labels.insert("RETEZ", "Textilie");
    x.labels.insert("DELKA", QString::fromUtf8("Délka L1 v m"));
    x.labels.insert("MATERIAL", QString::fromUtf8("Materiál textilie"));
    x.hints.insert("DELKA", QString::fromUtf8("Užitná délka = u smyček 1/2 obvodu"));
    x.fields = QStringList{"DELKA", "NOSNOST_1", "NOSNOST_2", "NOSNOST_3", "MATERIAL"} + componentFields;
    x.classChoices = QStringList{"8", "8S", "5"};
    x.classListOnly = true;
    x.classLabel = QString::fromUtf8("Pevnost. třída kovových dílů");
    x.period3Choices = {36, 24, 12};
    x.thoroughLabel = QString::fromUtf8("Důkladná kontrola kovových dílů");
    x.pictureOnShow = false;
    x.cardReport = "evtextil";
    x.protocolReport = "revtextil.pts";
    k << x;

    AccessoryKind s;
    s.letter = "S";
    s.name = QString::fromUtf8("Svěrka");
    s.formClass = "TfVazaciSver";
    s.mainCaption = QString::fromUtf8("SVĚRKA");
    s.typeHints = QStringList{"Vertikální svěrka (IPN,IPUN,IPUZ)", "Horizontální svěrka (IPHTONZ, ...)",
                              "Horiz. svěrka (IPHGZ,  IPHGUZ, IPBHZ...)", "Svěrka na sudy (IPDV)", "Jiná svěrka"};
    s.labels = withCapacities({}, "0 - 15°", "15 - 45°", "45 - 90°");
    s.labels.insert("sv_sirka", QString::fromUtf8("Sv. šířka v mm"));
    s.labels.insert("JINE", QString::fromUtf8("Jiné údaje"));
    s.fields = QStringList{"sv_sirka", "NOSNOST_1", "NOSNOST_2", "NOSNOST_3", "JINE"};
    s.addCodesOnExitOnly = true;
    s.cardReport = "evsverka";
    s.protocolReport = "revsverka.pts";
    k << s;

    AccessoryKind t;
    t.letter = "T";
    t.name = "Traverza";
    t.formClass = "TfVazaciTrav";
    t.mainCaption = QString::fromUtf8("JEŘÁBOVÁ TRAVERZA, C-HÁK");
    t.typeHints = QStringList{"Jeřábová traverza", "H- traverza", "C - hák", "Jiný manipulační přípravek"};
    t.labels.insert("DELKA", QString::fromUtf8("Délka v m"));
    t.labels.insert("PRUMER", QString::fromUtf8("Hmotnost v kg"));
    t.labels.insert("NOSNOST_1", QString::fromUtf8("Nosnost v kg"));
    t.fields = QStringList{"DELKA", "PRUMER", "NOSNOST_1"};
    t.lookup = LookupOnShow | LookupOnNumbers;
    t.cardReport = "evtrav";
    t.protocolReport = "revtrav.pts";
    k << t;

    AccessoryKind j;
    j.letter = "J";
    j.name = QString::fromUtf8("Ostatní");
    j.formClass = "TfVazaciOst";
    j.mainCaption = QString::fromUtf8("JINÝ MANIPULAČNÍ PROSTŘEDEK");
    j.typeHints = QStringList{"Jeřábová váha", "Vakuový manipulátor", "Magnet", "Jiný manipulační prostředek",
                              "Vázací bod", "Jiný manipulační prostředek"};
    j.labels.insert("PRUMER", QString::fromUtf8("Hmotnost v kg"));
    j.labels.insert("NOSNOST_1", QString::fromUtf8("Nosnost v kg"));
    j.hints.insert("PRUMER", QString::fromUtf8("Vlastní hmotnost"));
    j.fields = QStringList{"PRUMER", "NOSNOST_1"};
    j.cardReport = "evmanip";
    j.protocolReport = "revmanip.pts";
    k << j;
    return k;
}

} // namespace

const QVector<AccessoryKind> &accessoryKinds()
{
    static const QVector<AccessoryKind> kinds = buildKinds();
    return kinds;
}

const AccessoryKind *kindByLetter(const QString &letter)
{
    for (const AccessoryKind &k : accessoryKinds())
        if (k.letter == letter)
            return &k;
    return nullptr;
}

const AccessoryKind *kindByForm(const QString &formClass)
{
    for (const AccessoryKind &k : accessoryKinds())
        if (k.formClass == formClass)
            return &k;
    return nullptr;
}

QString standardPictureName(const QString &letter, int typ, const QString &jakTrida)
{
    if (letter == QLatin1String("R")) {
        static const char *const base[] = {"I1", "I2", "I3", "I4", "In", "IV1", "IV2", "Ij", "IL"};
        if (typ < 1 || typ > 9)
            return {};
        const QString c = jakTrida.trimmed();
        QString suffix;
        if (c == QLatin1String("8"))
            suffix.clear();
        else if (c == QLatin1String("8S") || c == QLatin1String("10V"))
            suffix = QStringLiteral("V");
        else if (c == QLatin1String("10"))
            suffix = QStringLiteral("10");
        else
            suffix = QStringLiteral("24");
        return QString::fromLatin1(base[typ - 1]) + suffix;
    }
    struct Prefix
    {
        const char *letter, *prefix;
        int count;
    };
    static const Prefix prefixes[] = {{"L", "IL", 8}, {"X", "Ix", 8}, {"S", "Is", 5}, {"T", "IT", 4}, {"J", "IJ", 6}};
    for (const Prefix &p : prefixes)
        if (letter == QLatin1String(p.letter))
            return typ >= 1 && typ <= p.count ? QString::fromLatin1(p.prefix) + QString::number(typ) : QString();
    return {};
}

bool lookupCapacity(Dataset &nosnosti, Dataset &record)
{
    if (!record.isEditing())
        return false;
    if (!nosnosti.isOpen())
        nosnosti.open();
    const QVariant typ = record.value(QStringLiteral("TYP"));
    const QVariant trida = record.value(QStringLiteral("JAK_TRIDA"));
    const QVariant prumer = record.value(QStringLiteral("PRUMER"));
    const QVariant druh = record.value(QStringLiteral("DRUH"));
    if (typ.isNull() || trida.isNull() || prumer.isNull() || druh.isNull())
        return false;
    const tz::db::Field *ft = nosnosti.field(QStringLiteral("TYP"));
    const tz::db::Field *fc = nosnosti.field(QStringLiteral("JAK_TRIDA"));
    const tz::db::Field *fp = nosnosti.field(QStringLiteral("PRUMER"));
    const tz::db::Field *fd = nosnosti.field(QStringLiteral("DRUH"));
    const int n = nosnosti.recordCount();
    for (int i = 0; i < n; ++i) {
        if (nosnosti.value(i, ft->column()).toInt() != typ.toInt()
            || nosnosti.value(i, fc->column()).toString() != trida.toString()
            || std::abs(nosnosti.value(i, fp->column()).toDouble() - prumer.toDouble()) > 1e-9
            || nosnosti.value(i, fd->column()).toString() != druh.toString())
            continue;
        nosnosti.moveTo(i);
        for (const char *f : {"NOSNOST_1", "NOSNOST_2", "NOSNOST_3"})
            record.setFieldValue(QString::fromLatin1(f), nosnosti.field(QString::fromLatin1(f))->value());
        return true;
    }
    return false;
}

QString periodProblem(const QVariant &period)
{
    if (period.isNull() || period.toString().trimmed().isEmpty())
        return {};
    bool ok = false;
    const int n = period.toString().trimmed().toInt(&ok);
    if (!ok)
        return QStringLiteral("Perioda musí být celý počet měsíců.");
    if (n < 1)
        return QStringLiteral("Perioda musí být alespoň 1 měsíc.");
    return {};
}

std::optional<QDate> nextDueDate(const QDate &last, const QDate &inService, const QVariant &period, const QDate &today)
{
    if (period.isNull() || period.toString().trimmed().isEmpty())
        return std::nullopt;
    if (!periodProblem(period).isEmpty())
        return std::nullopt;
    const QDate base = last.isValid() ? last : inService.isValid() ? inService : today;
    return tz::monthStep(base, period.toString().trimmed().toInt());
}

Schedule Schedule::regular()
{
    return {QStringLiteral("DAT_POSL_1"), QStringLiteral("DAT_PLAN_1"), QStringLiteral("PERIODA1"), QStringLiteral("1")};
}

Schedule Schedule::thorough()
{
    return {QStringLiteral("DAT_POSL_3"), QStringLiteral("DAT_PLAN_3"), QStringLiteral("PERIODA3"), QStringLiteral("3")};
}

void InspectionRecorder::remember()
{
    Dataset &v = m_dm.BasicView;
    for (const Schedule &s : {Schedule::regular(), Schedule::thorough()})
        m_remembered.insert(s.last, v.isOpen() && v.recNo() >= 0 || v.isEditing() ? v.value(s.last) : QVariant());
}

bool InspectionRecorder::changed(const Schedule &s) const
{
    const QVariant now = m_dm.BasicView.value(s.last);
    const QVariant was = m_remembered.value(s.last);
    if (now.isNull() || was.isNull())
        return now.isNull() != was.isNull();
    return now.toDate() != was.toDate();
}

bool InspectionRecorder::prepareRecord()
{
    Dataset &v = m_dm.BasicView;
    if (!v.isEditing())
        return false;
    if (v.state() == Dataset::State::Insert) {
        // the remembered dates outlive the post: the new dates are still unrecorded
        const QMap<QString, QVariant> keep = m_remembered;
        v.post();
        m_remembered = keep;
        v.edit();
    }
    return true;
}

void InspectionRecorder::startInspection(Dataset &history, const Schedule &s)
{
    Dataset &v = m_dm.BasicView;
    const QVariant date = v.value(s.last);
    if (!history.isOpen())
        history.open();
    history.append();
    history.setFieldValue(QStringLiteral("DATUM"), date);
    history.setFieldValue(QStringLiteral("TYPREVIZE"), s.type);
    m_remembered.insert(s.last, date);
}

void InspectionRecorder::updateNextDate(const Schedule &s)
{
    Dataset &v = m_dm.BasicView;
    const QVariant period = v.value(s.period);
    const QString problem = periodProblem(period);
    if (!problem.isEmpty())
        throw tz::db::Error(problem);
    const auto next = nextDueDate(v.value(s.last).toDate(), v.value(QStringLiteral("DAT_PROVOZ")).toDate(), period,
                                  m_dm.today());
    if (!next)
        return;
    if (!v.isEditing())
        v.edit();
    v.setFieldValue(s.next, *next);
}

std::optional<QDate> InspectionRecorder::newerStoredInspection(const Schedule &s) const
{
    Dataset &v = m_dm.BasicView;
    if (!(v.isOpen() && v.recNo() >= 0) && !v.isEditing())
        return std::nullopt;
    const QVariant poradi = v.value(QStringLiteral("PORADI"));
    if (poradi.isNull())
        return std::nullopt;
    const QVariant newest = m_dm.db()->scalar(
        QStringLiteral("select max(DATUM) from revize where PORADI = :poradi and DRUH = :druh and TYPREVIZE = :typ"),
        tz::db::Params{{"poradi", poradi}, {"druh", v.value(QStringLiteral("DRUH"))}, {"typ", s.type}});
    const QDate stored = newest.typeId() == QMetaType::QDate ? newest.toDate() : tz::parseDate(newest.toString());
    if (!stored.isValid())
        return std::nullopt;
    const QDate last = v.value(s.last).toDate();
    if (last.isValid() && stored <= last)
        return std::nullopt;
    return stored;
}

void InspectionRecorder::adoptLastDate(const Schedule &s, const QDate &date)
{
    Dataset &v = m_dm.BasicView;
    if (!v.isEditing())
        v.edit();
    v.setFieldValue(s.last, date);
    m_remembered.insert(s.last, date);
    updateNextDate(s);
}

TestValues testValues(int prumer, bool hasHook, bool hasMasterLink, int legs)
{
    static const int diam[] = {4, 6, 8, 10, 13, 16, 18, 22};
    static const int proud5[] = {115, 170, 230, 290, 380, 470, 530, 660};
    static const int tl4[] = {13, 22, 29, 37, 45, 54, 56, 60};
    static const int pr4[] = {330, 570, 760, 990, 1200, 1300, 1320, 1400};
    static const int tl1Few[] = {8, 13, 16, 18, 22, 26, 32, 36};
    static const int pr1Few[] = {230, 330, 410, 460, 570, 680, 850, 960};
    static const int tl1More[] = {10, 18, 22, 26, 32, 36, 45, 51};
    static const int pr1More[] = {250, 460, 570, 680, 850, 960, 1200, 1300};
    TestValues v;
    int i = 0;
    while (i < 8 && diam[i] != prumer)
        ++i;
    if (i == 8)
        return v;
    v.proud5 = proud5[i];
    if (hasHook) {
        v.tloustka4 = tl4[i];
        v.proud4 = pr4[i];
    }
    if (hasMasterLink) {
        const bool few = legs == 1 || legs == 2;
        v.tloustka1 = few ? tl1Few[i] : tl1More[i];
        v.proud1 = few ? pr1Few[i] : pr1More[i];
    }
    return v;
}

int partnerPrice(double do2, double dalsi, double delka)
{
    // whole tenths of a metre, so that 3.1 m and 4.1 m count alike
    const long long t = std::llround(delka * 10.0) - 20;
    const long long n = t > 0 ? (t + 9) / 10 : 0;
    return int(std::llround(do2 + dalsi * double(n)));
}

} // namespace tz::acc
