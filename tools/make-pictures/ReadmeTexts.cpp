#include "ReadmeTexts.h"

ReadmeTexts KoreanReadmeTexts()
{
    ReadmeTexts texts;
    texts.subtitle = QStringLiteral("스타일 데이터 설치 프로그램");
    texts.installsHeading = QStringLiteral("무엇을 설치하나요?");
    texts.installsBody = QStringLiteral(
            "이번 시즌의 의상 스타일 데이터(STY, STI, DETAIL)를 Vestra에 복사하고 압축을 풉니다. "
            "종류마다 고른 폴더에 설치되며, 이미 있는 파일은 묻고 나서 덮어씁니다.");
    texts.requirement = QStringLiteral("Vestra 2.0 이상이 이 컴퓨터에 설치되어 있어야 합니다.");
    texts.stepsHeading = QStringLiteral("설치 순서");
    texts.steps = {QStringLiteral("설치할 데이터 종류를 고릅니다."),
                   QStringLiteral("기본 설치 또는 사용자 설치를 고릅니다."),
                   QStringLiteral("설치할 폴더를 확인하거나 바꿉니다."),
                   QStringLiteral("[설치]를 누르고 끝날 때까지 기다립니다.")};
    texts.homePageLabel = QStringLiteral("홈페이지");
    texts.contactNote = QStringLiteral("궁금한 점은 이메일로 보내 주세요.");
    return texts;
}

ReadmeTexts EnglishReadmeTexts()
{
    ReadmeTexts texts;
    texts.subtitle = QStringLiteral("Style data installer");
    texts.installsHeading = QStringLiteral("What does it install?");
    texts.installsBody = QStringLiteral(
            "This season's garment style data (STY, STI and DETAIL) is copied into Vestra "
            "and unpacked there, each kind into the folder you choose. Installed files are "
            "only replaced when you say so.");
    texts.requirement = QStringLiteral("Vestra 2.0 or higher must be installed on this computer.");
    texts.stepsHeading = QStringLiteral("Steps");
    texts.steps = {QStringLiteral("Choose the kinds of data to install."),
                   QStringLiteral("Choose a Basic install or pick the units."),
                   QStringLiteral("Check or change the destination folders."),
                   QStringLiteral("Click Install and wait until it ends.")};
    texts.homePageLabel = QStringLiteral("Home page");
    texts.contactNote = QStringLiteral("Questions? Write to us.");
    return texts;
}
