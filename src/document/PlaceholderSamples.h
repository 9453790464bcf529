#pragma once
// The widest text the product puts in each placeholder, so a translation's width can be
// judged as the user will see it: "%s" becomes a long folder name, "%d" the longest number.
// The project's Placeholders.ini (program folder, section [Samples], "placeholder=sample"
// lines) overrides the defaults of the common forms.

#include <QString>

#include <map>
#include <string>
#include <vector>

namespace kav {

class TPlaceholderSamples {
public:
    // The defaults alone.
    TPlaceholderSamples();

    // The defaults and the [Samples] of File; a file that is not there is no error. Each line
    // that cannot be read goes to Errors as "FILE:LINE: what is wrong", and is left out.
    static TPlaceholderSamples FromFile(const std::string& File, std::vector<std::string>& Errors);
    // The same from the text of such a file (Name for the messages).
    static TPlaceholderSamples FromText(const QString& Text, const std::string& Name,
                                        std::vector<std::string>& Errors);

    // The sample of one specifier as FormatSpecifiers finds it: its own line, else the line
    // of its form ("%-20s" and "%ls" take the "%s" sample, "%3" the "%1" sample, "%1!d!" the
    // "%d" sample), else the default of that form; "%%" is a percent sign.
    QString SampleOf(const QString& Specifier) const;
    // Text with every specifier replaced by its sample.
    QString Filled(const QString& Text) const;
    // True when Text has a specifier whose sample differs from it.
    bool Fills(const QString& Text) const;

private:
    std::map<QString, QString> FSamples; // by specifier, the defaults included
};

// Placeholders.ini in the program folder (with its trailing "/").
std::string PlaceholderSamplesFile(const std::string& ProgramDir);
// The samples of a program folder's project, read once for each folder (the defaults for an
// empty one); Errors, when given, gets the file's faulty lines.
const TPlaceholderSamples& ProjectSamples(const std::string& ProgramDir,
                                          std::vector<std::string>* Errors = nullptr);

} // namespace kav
