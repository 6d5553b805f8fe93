// Reads the module's VST3 factory directly, below JUCE's hosting layer.

#include "tests/support/ReleaseVersion.h"
#include "tests/support/Vst3Fixture.h"

#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivstunits.h>

namespace
{
using GetFactory = Steinberg::IPluginFactory* (*) ();

juce::File moduleLibrary()
{
    return builtBundle().getChildFile ("Contents/x86_64-linux/VelbriLabs Lumbra.so");
}

juce::String classIdOf (const Steinberg::PClassInfo2& info)
{
    return juce::String::toHexString (info.cid, 16, 0).toUpperCase();
}
} // namespace

TEST (ModuleFactory, ListsTheProcessorAndControllerClassesWithTheirIdentity)
{
    juce::DynamicLibrary library;
    ASSERT_TRUE (library.open (moduleLibrary().getFullPathName()));
    ASSERT_NE (library.getFunction ("ModuleEntry"), nullptr);
    ASSERT_NE (library.getFunction ("ModuleExit"), nullptr);
    auto getFactory = reinterpret_cast<GetFactory> (library.getFunction ("GetPluginFactory"));
    ASSERT_NE (getFactory, nullptr);

    using ModuleEntry = bool (*) (void*);
    using ModuleExit = bool (*) ();
    ASSERT_TRUE (reinterpret_cast<ModuleEntry> (library.getFunction ("ModuleEntry")) (library.getNativeHandle()));

    auto* factory = getFactory();
    ASSERT_NE (factory, nullptr);

    Steinberg::PFactoryInfo factoryInfo;
    ASSERT_EQ (factory->getFactoryInfo (&factoryInfo), Steinberg::kResultOk);
    EXPECT_STREQ (factoryInfo.vendor, "velbrilabs");
    EXPECT_STREQ (factoryInfo.url, "https://velbrilabs.com");
    EXPECT_STREQ (factoryInfo.email, "");
    EXPECT_EQ (factoryInfo.flags, Steinberg::PFactoryInfo::kUnicode);

    Steinberg::IPluginFactory2* factory2 = nullptr;
    ASSERT_EQ (factory->queryInterface (Steinberg::IPluginFactory2::iid, reinterpret_cast<void**> (&factory2)),
               Steinberg::kResultOk);

    // JUCE 7.0.5's wrapper lists the component and controller only, with the SDK string it carries.
    ASSERT_EQ (factory2->countClasses(), 2);
    const char* categories[] = { "Audio Module Class", "Component Controller Class" };
    const char* idWords[] = { "ABCDEF019182FAEB", "ABCDEF011234ABCD" };

    for (int i = 0; i < 2; ++i)
    {
        Steinberg::PClassInfo2 info;
        ASSERT_EQ (factory2->getClassInfo2 (i, &info), Steinberg::kResultOk);
        SCOPED_TRACE (info.category);
        EXPECT_STREQ (info.category, categories[i]);
        EXPECT_STREQ (info.name, "VelbriLabs Lumbra");
        EXPECT_STREQ (info.vendor, "velbrilabs");
        EXPECT_EQ (juce::String (info.version), releasedVersion());
        EXPECT_STREQ (info.subCategories, "Fx");
        EXPECT_STREQ (info.sdkVersion, "VST 3.7.2");
        EXPECT_EQ (info.cardinality, Steinberg::PClassInfo::kManyInstances);
        EXPECT_EQ (info.classFlags, 0u);
        // Two framework words, then "Vlbr" and "Lmb1" as big-endian words.
        EXPECT_EQ (classIdOf (info), juce::String (idWords[i]) + "566C62724C6D6231");
    }

    factory2->release();
    factory->release();
    reinterpret_cast<ModuleExit> (library.getFunction ("ModuleExit")) ();
}

TEST (ModuleFactory, PublishesOneProgramNamedDefault)
{
    juce::DynamicLibrary library;
    ASSERT_TRUE (library.open (moduleLibrary().getFullPathName()));
    using ModuleEntry = bool (*) (void*);
    using ModuleExit = bool (*) ();
    ASSERT_TRUE (reinterpret_cast<ModuleEntry> (library.getFunction ("ModuleEntry")) (library.getNativeHandle()));
    auto* factory = reinterpret_cast<GetFactory> (library.getFunction ("GetPluginFactory")) ();
    ASSERT_NE (factory, nullptr);

    Steinberg::PClassInfo componentInfo;
    ASSERT_EQ (factory->getClassInfo (0, &componentInfo), Steinberg::kResultOk);

    Steinberg::Vst::IComponent* component = nullptr;
    ASSERT_EQ (factory->createInstance (componentInfo.cid, Steinberg::Vst::IComponent::iid,
                                        reinterpret_cast<void**> (&component)),
               Steinberg::kResultOk);
    ASSERT_EQ (component->initialize (nullptr), Steinberg::kResultOk);

    Steinberg::Vst::IUnitInfo* units = nullptr;
    ASSERT_EQ (component->queryInterface (Steinberg::Vst::IUnitInfo::iid, reinterpret_cast<void**> (&units)),
               Steinberg::kResultOk);
    ASSERT_EQ (units->getProgramListCount(), 1);

    Steinberg::Vst::ProgramListInfo list;
    ASSERT_EQ (units->getProgramListInfo (0, list), Steinberg::kResultOk);
    EXPECT_EQ (list.programCount, 1);

    Steinberg::Vst::String128 name {};
    ASSERT_EQ (units->getProgramName (list.id, 0, name), Steinberg::kResultOk);
    EXPECT_EQ (juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (name))),
               "Default");

    units->release();
    component->terminate();
    component->release();
    factory->release();
    reinterpret_cast<ModuleExit> (library.getFunction ("ModuleExit")) ();
}
