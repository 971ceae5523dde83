#include "settings/pbx_config_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <string_view>

namespace ry {

namespace {

constexpr std::string_view kSection = "PBX";

// Each text box of the dialog and the key it edits.
struct StringKey {
    int index;
    std::string_view key;
};
constexpr std::array<StringKey, 14> kStringKeys = {{
    {0, "Transfer_Prefix"},
    {1, "Transfer_AnnounceAccept"},
    {2, "Transfer_AnnounceDecline"},
    {3, "Conference_Prefix"},
    {4, "Conference_BlindSuffix"},
    {5, "Conference_AnnounceAccept"},
    {6, "Conference_AnnounceDecline"},
    {11, "CmdMsgLampOn"},
    {12, "CmdMsgLampOff"},
    {21, "DialMsgLampOnPrefix"},
    {22, "DialMsgLampOnSuffix"},
    {23, "DialMsgLampOffPrefix"},
    {24, "DialMsgLampOffSuffix"},
    {25, "DialMsgLampLineOutSelect"},
}};

// The lamp lists: each position's caption and the value stored for it.
struct LampChoice {
    const char* caption;
    std::string_view value;
};
constexpr std::array<LampChoice, 3> kLampOn = {{
    {"Every time a new message arrives.", "ALLNEW"},
    {"When the first new message arrives.", "FIRSTNEW"},
    {"Do not turn lamp ON.", "DISABLE"},
}};
constexpr std::array<LampChoice, 4> kLampOff = {{
    {"When there are no more new messages.", "NONEWMSGS"},
    {"When mailbox owner logs in by phone (remote access session).", "ONLOGIN"},
    {"At end of the voicemail box remote access session.", "ONLOGOUT"},
    {"Do not turn lamp OFF.", "DISABLE"},
}};
constexpr std::string_view kLampOnKey = "MsgLampOnTrigger";
constexpr std::string_view kLampOffKey = "MsgLampOffTrigger";
constexpr std::string_view kLampOtherValue = "DISABLE";

constexpr std::string_view kModemKey = "TransferControl_Modem";
constexpr std::string_view kBoardsKey = "TransferControl_TelBoards";
constexpr std::string_view kGenerate = "Generate";

template <size_t N>
void FillLampList(QComboBox& list, const std::array<LampChoice, N>& choices,
                  const std::string& stored) {
    int position = 0; // a value the list does not know shows as the first entry
    for (size_t i = 0; i < N; ++i) {
        list.addItem(QString::fromLatin1(choices[i].caption));
        if (stored == choices[i].value)
            position = static_cast<int>(i);
    }
    list.setCurrentIndex(position);
}

template <size_t N>
std::string_view LampValue(const QComboBox& list, const std::array<LampChoice, N>& choices) {
    const int i = list.currentIndex();
    return i >= 0 && i < static_cast<int>(N) ? choices[static_cast<size_t>(i)].value
                                             : kLampOtherValue;
}

QLabel* WrappedLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

} // namespace

PbxConfigDialog::PbxConfigDialog(Designer& designer, QWidget* parent)
    : SettingsDialog(designer, QStringLiteral("frmPbxConfig"), QStringLiteral("PBX Strings"),
                     parent),
      lampOn_(new QComboBox), lampOff_(new QComboBox), hangupKey_(new QLineEdit),
      notUsed_(new QLabel),
      setGenerate_(
          new QPushButton(QStringLiteral("Press here to restore Ryvane's use of above settings"))) {
    IniFile& ini = designer.Ini();
    for (const StringKey& k : kStringKeys)
        AddString(k.index)->setText(ToQt(ini.IniReadString(kSection, k.key)));

    // Call transfer.
    {
        auto* frame = new QGroupBox(QStringLiteral("Call Transfer"));
        auto* v = new QVBoxLayout(frame);
        v->addWidget(WrappedLabel(
            QStringLiteral("Place call on hold before doing a blind or announced transfer")));
        v->addWidget(strings_[0]);
        v->addWidget(WrappedLabel(QStringLiteral("Complete announced call transfer")));
        v->addWidget(strings_[1]);
        v->addWidget(WrappedLabel(
            QStringLiteral("Retrieve call from announced call transfer if destination telephone "
                           "number is busy or call is rejected")));
        v->addWidget(strings_[2]);
        QVBoxLayout* page = AddPage(QStringLiteral("Transfer"));
        page->addWidget(frame);
        page->addStretch(1);
    }
    // Call conference.
    {
        auto* frame = new QGroupBox(QStringLiteral("Call Conference"));
        auto* v = new QVBoxLayout(frame);
        v->addWidget(WrappedLabel(
            QStringLiteral("Place call on hold before doing a blind or announced conference")));
        v->addWidget(strings_[3]);
        v->addWidget(WrappedLabel(QStringLiteral("Complete blind (immediate) conference call")));
        v->addWidget(strings_[4]);
        v->addWidget(WrappedLabel(QStringLiteral("Complete announced conference call")));
        v->addWidget(strings_[5]);
        v->addWidget(WrappedLabel(
            QStringLiteral("Retrieve call from announced conference call if the destination "
                           "telephone number is busy or call is rejected")));
        v->addWidget(strings_[6]);
        QVBoxLayout* page = AddPage(QStringLiteral("Conference"));
        page->addWidget(frame);
        page->addStretch(1);
    }
    // Message lamps.
    {
        QVBoxLayout* page = AddPage(QStringLiteral("Message Lamps"));
        auto* commands = new QGroupBox(QStringLiteral("Commands"));
        auto* c = new QGridLayout(commands);
        c->addWidget(new QLabel(QStringLiteral("When turning lamp ON :")), 0, 0);
        c->addWidget(strings_[11], 0, 1);
        c->addWidget(new QLabel(QStringLiteral("When turning lamp OFF :")), 1, 0);
        c->addWidget(strings_[12], 1, 1);
        page->addWidget(commands);

        auto* dial = new QGroupBox(QStringLiteral("Dial Strings"));
        auto* d = new QGridLayout(dial);
        d->addWidget(new QLabel(QStringLiteral("When turning lamp ON : ")), 0, 0);
        d->addWidget(strings_[21], 0, 1);
        d->addWidget(new QLabel(QStringLiteral("+ Extension +")), 0, 2);
        d->addWidget(strings_[22], 0, 3);
        d->addWidget(new QLabel(QStringLiteral("When turning lamp OFF :")), 1, 0);
        d->addWidget(strings_[23], 1, 1);
        d->addWidget(new QLabel(QStringLiteral("+ Extension +")), 1, 2);
        d->addWidget(strings_[24], 1, 3);
        d->addWidget(
            WrappedLabel(QStringLiteral("Which lines to use to make calls to turn lamp ON/OFF :")),
            2, 0, 1, 2);
        d->addWidget(strings_[25], 2, 2, 1, 2);
        page->addWidget(dial);

        auto* when = new QGroupBox(QStringLiteral("When To Turn Lamps ON / OFF"));
        auto* w = new QGridLayout(when);
        lampOn_->setObjectName(QStringLiteral("cmbLampOnSelection"));
        lampOff_->setObjectName(QStringLiteral("cmbLampOffSelection"));
        FillLampList(*lampOn_, kLampOn, ini.IniReadString(kSection, kLampOnKey));
        FillLampList(*lampOff_, kLampOff, ini.IniReadString(kSection, kLampOffKey));
        w->addWidget(new QLabel(QStringLiteral("Turn message lamp ON when :")), 0, 0);
        w->addWidget(lampOn_, 0, 1);
        w->addWidget(new QLabel(QStringLiteral("Turn message lamp OFF when :")), 1, 0);
        w->addWidget(lampOff_, 1, 1);
        w->setColumnStretch(1, 1);
        page->addWidget(when);
        page->addStretch(1);
    }
    // Hang-up.
    {
        QVBoxLayout* page = AddPage(QStringLiteral("Hangup"));
        page->addWidget(WrappedLabel(
            QStringLiteral("Detection of when the call has ended can be achieved by:")));
        const std::array<std::pair<const char*, QString>, 3> methods = {{
            {"Loop Current Drop",
             QStringLiteral("Dialogic cards can detect loop current drop. Voice modems cannot "
                            "detect loop current drop. Your PBX or phone company's Switch must "
                            "be configured to drop loop current at end of call.")},
            {"Busy / Disconnect Tone",
             QStringLiteral(
                 "Dialogic cards can be configured what busy / disconnect tones to listen for. "
                 "Voice modems have the tone patterns pre-programmed, and they cannot be "
                 "adjusted. The result is most modems cannot detect the busy / disconnect "
                 "tones reliably, while Dialogic cards can detect them well once they have been "
                 "configured.")},
            {"DTMF Disconnect Tone",
             QStringLiteral("Some PBXs can play a DTMF tone when the call is finished. If your "
                            "PBX uses this method then this is also a very reliable way of "
                            "detecting end of call. Most often the DTMF tone used is \"D\" "
                            "(this key is not present on most telephone keypads).")},
        }};
        for (const auto& [heading, text] : methods) {
            auto* title = new QLabel(QString::fromLatin1(heading));
            QFont bold = title->font();
            bold.setBold(true);
            title->setFont(bold);
            page->addWidget(title);
            page->addWidget(WrappedLabel(text));
        }
        hangupKey_->setObjectName(QStringLiteral("txtHangupOnDtmfKey"));
        hangupKey_->setText(ToQt(designer.Settings().HangupOnDtmf));
        auto* row = new QHBoxLayout;
        row->addWidget(hangupKey_);
        row->addWidget(new QLabel(QStringLiteral("<  PBXs 'Hangup' DTMF tone")), 1);
        page->addLayout(row);
        page->addWidget(WrappedLabel(QStringLiteral(
            "More information on how to configure Dialogic cards can be found in Ryvane Help "
            "file.")));
        page->addStretch(1);
    }

    // The engine transfers calls with these strings only when both of its transfer-control
    // keys say "Generate".
    notUsed_->setObjectName(QStringLiteral("lblSettNotUsed"));
    notUsed_->setWordWrap(true);
    setGenerate_->setObjectName(QStringLiteral("cmdSetGenerate"));
    setGenerate_->setAutoDefault(false);
    AddBelowPages(notUsed_);
    AddBelowPages(setGenerate_);
    notUsed_->setVisible(false);
    setGenerate_->setVisible(false);
    setGenerate_->setEnabled(false);
    const std::string modem = ini.IniReadString(kSection, kModemKey);
    const std::string boards = ini.IniReadString(kSection, kBoardsKey);
    if (modem != kGenerate || boards != kGenerate) {
        notUsed_->setText(QStringLiteral("Note: Ryvane has detected that the above settings are "
                                         "NOT used by Ryvane to perform call transfers. Current "
                                         "setting is: ") +
                          ToQt(modem) + QStringLiteral(" / ") + ToQt(boards));
        notUsed_->setVisible(true);
        setGenerate_->setVisible(true);
        setGenerate_->setEnabled(true);
    }
    connect(setGenerate_, &QPushButton::clicked, this, &PbxConfigDialog::SetGenerate);

    for (const auto& [index, box] : strings_)
        connect(box, &QLineEdit::textChanged, this, &PbxConfigDialog::EnableApply);
    connect(hangupKey_, &QLineEdit::textChanged, this, &PbxConfigDialog::EnableApply);
    connect(lampOn_, &QComboBox::currentIndexChanged, this, &PbxConfigDialog::EnableApply);
    connect(lampOff_, &QComboBox::currentIndexChanged, this, &PbxConfigDialog::EnableApply);
}

QLineEdit* PbxConfigDialog::AddString(int index) {
    auto* box = new QLineEdit;
    box->setObjectName(QStringLiteral("txtPbxString(%1)").arg(index));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    box->setFont(fixed);
    strings_[index] = box;
    return box;
}

void PbxConfigDialog::Store() {
    IniFile& ini = designer().Ini();
    // Written as typed: an empty box empties its key.
    for (const StringKey& k : kStringKeys)
        ini.IniWriteString(kSection, k.key, FromQt(strings_[k.index]->text()));
    ini.IniWriteString(kSection, kLampOnKey, LampValue(*lampOn_, kLampOn));
    ini.IniWriteString(kSection, kLampOffKey, LampValue(*lampOff_, kLampOff));
    designer().Settings().HangupOnDtmf = FromQt(hangupKey_->text());
    ini.IniWriteString(kSection, "HangupOnDtmf", designer().Settings().HangupOnDtmf);
}

void PbxConfigDialog::SetGenerate() {
    // Written at once: the button is an answer of its own, not an edit waiting for Apply.
    IniFile& ini = designer().Ini();
    ini.IniWriteString(kSection, kModemKey, kGenerate);
    ini.IniWriteString(kSection, kBoardsKey, kGenerate);
    notUsed_->setText(QStringLiteral("RY.INI's PBX / TransferControl settings updated to "
                                     "\"Generate\". You will need to restart ") +
                      designer().BrandName() +
                      QStringLiteral(" before the new settings will take effect."));
    setGenerate_->setVisible(false);
    setGenerate_->setEnabled(false);
}

void PbxConfigDialog::Help() {
    designer().Programs().ShowHelp(kHelpTopic);
}

void ShowPbxConfig(Designer& designer, QWidget* owner) {
    PbxConfigDialog dialog(designer, owner);
    designer.Prompts().Exec(dialog);
}

} // namespace ry
